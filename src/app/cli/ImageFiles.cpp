#include "app/cli/ImageFiles.h"

#include <memory>
#include <strings.h>

#include "codecs/BUPcx.h"
#include "codecs/ImageCodecs.h"
#include "codecs/Jpeg.h"
#include "codecs/PictureFormats.h"
#include "codecs/PngWriter.h"
#include "codecs/xM8.h"
#include "codecs/xPPM.h"
#include "codecs/xTGA.h"
#include "codecs/xWZ.h"
#include "codecs/zBitmap.h"
#include "storage/OutputFiles.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

bool sameText(const std::string& a, const char* b) { return ::strcasecmp(a.c_str(), b) == 0; }

TBitmap readImageFile(const std::string& path) {
    const std::string extension = FileExtension(path);
    // A device-independent bitmap file is a BMP file.
    std::unique_ptr<TGraphic> graphic =
        sameText(extension, "dib") ? std::make_unique<TBitmap>() : CreateGraphicForFile(path);
    if (!graphic && sameText(extension, "png")) throw EGrottixError("Unknown image type: .png pictures are written, not read");
    if (!graphic && extension.empty()) throw EGrottixError("Unknown image type: the name has no extension");
    if (!graphic) throw EGrottixError("Unknown image type: no reader for ." + extension + " pictures");
    graphic->LoadFromFile(path);
    TBitmap image;
    image.Assign(*graphic);
    return image;
}

// The writer for an extension, or null for PNG and for extensions without one.
std::unique_ptr<TGraphic> writerFor(const std::string& extension, const TBitmap& image) {
    auto make = [&](auto writer) -> std::unique_ptr<TGraphic> {
        writer->Assign(image);
        return writer;
    };
    if (sameText(extension, "bmp")) return make(std::make_unique<TBitmap>());
    if (sameText(extension, "ppm")) return make(std::make_unique<TPPMBitmap>());
    if (sameText(extension, "m8")) return make(std::make_unique<TM8Bitmap>());
    if (sameText(extension, "tga")) return make(std::make_unique<TTGABitmap>());
    if (sameText(extension, "bmz")) return make(std::make_unique<TZBitmap>());
    if (sameText(extension, "wz1")) return make(std::make_unique<TWZ1Bitmap>());
    if (sameText(extension, "wz2")) return make(std::make_unique<TWZ2Bitmap>());
    if (sameText(extension, "jpg") || sameText(extension, "jpeg")) return make(std::make_unique<TJPEGImage>());
    if (sameText(extension, "pcx")) {
        auto pcx = std::make_unique<TBUPcx>();
        pcx->Assign(&image);
        return pcx;
    }
    return nullptr;
}

std::vector<uint8_t> encodeImageFile(const TBitmap& image, const std::string& path) {
    const std::string extension = FileExtension(path);
    if (sameText(extension, "png")) return EncodePng(image);
    std::unique_ptr<TGraphic> writer = writerFor(extension, image);
    if (!writer) throw EGrottixError("Can not determine file type!");
    TMemoryStream stream;
    writer->SaveToStream(stream);
    return stream.TakeBytes();
}

}  // namespace

TBitmap ReadImageFile(const std::string& path) { return readImageFile(path); }

std::vector<uint8_t> EncodeImage(const TBitmap& image, const std::string& path) { return encodeImageFile(image, path); }

void WriteImageFile(const TBitmap& image, const std::string& path) {
    std::vector<uint8_t> bytes;
    try {
        bytes = EncodeImage(image, path);
    } catch (const EGrottixError& error) {
        throw EOutputFailure(path, error.what());
    }
    WriteOutputFile(path, bytes);
}

}  // namespace grottix
