#include "codecs/PictureFormats.h"

#include <algorithm>
#include <mutex>
#include <strings.h>

#include "codecs/Bitmap.h"

namespace grottix {

namespace {

struct Registry {
    std::mutex lock;
    std::vector<TFileFormat> formats;
    std::vector<const TGraphicClass*> classes;
};

const TGraphicClass& bitmapClass() {
    static const TGraphicClass graphicClass{"TBitmap", [] { return std::make_unique<TBitmap>(); }};
    return graphicClass;
}

// The platform's own bitmap is known before any codec unit starts.
Registry& registry() {
    static Registry instance{{}, {{"bmp", "Bitmaps", &bitmapClass()}}, {&bitmapClass()}};
    return instance;
}

std::string withoutDot(const std::string& extension) {
    return !extension.empty() && extension[0] == '.' ? extension.substr(1) : extension;
}

bool sameText(const std::string& a, const std::string& b) { return ::strcasecmp(a.c_str(), b.c_str()) == 0; }

}  // namespace

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  const TGraphicClass& graphicClass) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    r.formats.push_back({withoutDot(extension), description, &graphicClass});
}

void TPicture::UnregisterGraphicClass(const TGraphicClass& graphicClass) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    std::erase_if(r.formats, [&](const TFileFormat& f) { return f.GraphicClass == &graphicClass; });
}

std::vector<TFileFormat> TPicture::FileFormats() {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    return r.formats;
}

const TGraphicClass* TPicture::FindFileFormat(const std::string& extension) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    const std::string wanted = withoutDot(extension);
    for (const TFileFormat& f : r.formats)
        if (sameText(f.Extension, wanted)) return f.GraphicClass;
    return nullptr;
}

void TPicture::RegisterClass(const TGraphicClass& graphicClass) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    if (std::find(r.classes.begin(), r.classes.end(), &graphicClass) == r.classes.end())
        r.classes.push_back(&graphicClass);
}

void TPicture::UnregisterClass(const TGraphicClass& graphicClass) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    std::erase(r.classes, &graphicClass);
}

const TGraphicClass* TPicture::FindClass(const std::string& className) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    for (const TGraphicClass* c : r.classes)
        if (sameText(c->ClassName, className)) return c;
    return nullptr;
}

void TPicture::LoadFromFile(const std::string& path) {
    const std::string extension = FileExtension(path);
    const TGraphicClass* graphicClass = FindFileFormat(extension);
    if (!graphicClass) throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
    std::unique_ptr<TGraphic> graphic = graphicClass->Create();
    graphic->LoadFromFile(path);
    graphic_ = std::move(graphic);
}

std::string FileExtension(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return path.substr(dot + 1);
}

void TUnitRegistration::Initialize() {
    if (count_++ == 0) register_();
}

void TUnitRegistration::Finalize() {
    if (count_ == 0) return;
    if (--count_ == 0) unregister_();
}

}  // namespace grottix
