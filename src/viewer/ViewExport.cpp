#include "viewer/ViewExport.h"

#include <memory>
#include <strings.h>

#include "codecs/PictureFormats.h"
#include "codecs/PngWriter.h"
#include "codecs/xM8.h"
#include "codecs/xPPM.h"
#include "codecs/xTGA.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

// The part after the last dot of the file name (not of a folder), with the dot; empty without one.
std::string dottedExtension(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return path.substr(dot);
}

std::unique_ptr<TBitmap> writerFor(const std::string& extension) {
    const auto is = [&](const char* e) { return ::strcasecmp(extension.c_str(), e) == 0; };
    if (is(".bmp")) return std::make_unique<TBitmap>();
    if (is(".m8")) return std::make_unique<TM8Bitmap>();
    if (is(".ppm")) return std::make_unique<TPPMBitmap>();
    if (is(".tga")) return std::make_unique<TTGABitmap>();
    return nullptr;
}

// The file's bytes by the writer for the extension; EUnknownFileType when there is none.
std::vector<uint8_t> encodeView(const TBitmap& view, const std::string& extension) {
    if (::strcasecmp(extension.c_str(), ".png") == 0) return EncodePng(view);
    std::unique_ptr<TBitmap> writer = writerFor(extension);
    if (!writer) throw EUnknownFileType();
    writer->Assign(view);
    TMemoryStream encoded;
    writer->SaveToStream(encoded);
    return encoded.TakeBytes();
}

}  // namespace

std::optional<std::string> ExtensionOfFilterIndex(int index) {
    static const char* const kExtensions[] = {".bmp", ".ppm", ".m8", ".tga", ".png"};
    if (index < 1 || index > 5) return std::nullopt;
    return kExtensions[index - 1];
}

std::string SaveViewFileName(const std::string& name, int filterIndex) {
    if (!dottedExtension(name).empty()) return name;
    const auto extension = ExtensionOfFilterIndex(filterIndex);
    if (!extension) throw EUnknownFileType();
    return name + *extension;
}

std::optional<std::string> BackupFileName(const std::string& path) {
    const std::string extension = dottedExtension(path);
    if (extension.size() < 2) return std::nullopt;
    return path.substr(0, path.size() - extension.size()) + ".~" + extension.substr(1);
}

void SaveViewImage(const TBitmap& view, const std::string& path) {
    const std::vector<uint8_t> encoded = encodeView(view, dottedExtension(path));
    if (FileExists(path))
        if (const auto backup = BackupFileName(path)) {
            const std::vector<uint8_t> old = ReadWholeFile(path);
            WriteFileAtomically(*backup, old.data(), old.size());
        }
    WriteFileAtomically(path, encoded.data(), encoded.size());
}

}  // namespace grottix
