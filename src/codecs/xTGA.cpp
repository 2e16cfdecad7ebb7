#include "codecs/xTGA.h"

#include "codecs/CodecSupport.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

constexpr int kHeaderSize = 18;
enum : int { kType = 2, kColourMapType = 1, kWidth = 12, kHeight = 14, kBits = 16 };

void checkHeader(const uint8_t* header) {
    const uint8_t type = header[kType], bits = header[kBits];
    if (type != 2 && type != 10)
        throw EGrottixError("Couldn't load TGA Image. Only 24 and 32bit TGA Images supported.");
    if (header[kColourMapType] != 0)
        throw EGrottixError("Couldn't load TGA Image. Colormapped TGA images not supported.");
    if (bits != 24 && bits != 32)
        throw EGrottixError("Couldn't load TGA Image. Only 24 and 32bit TGA Images supported.");
    if (type != 2) throw EGrottixError("Couldn't load TGA Image. Only standard 24, 32 bit TGA Images supported.");
}

}  // namespace

const TGraphicClass& TTGABitmap::ClassInfo() {
    static const TGraphicClass info{"TTGABitmap", [] { return std::make_unique<TTGABitmap>(); }};
    return info;
}

void TTGABitmap::LoadFromStream(TStream& stream) {
    uint8_t header[kHeaderSize] = {};
    if (stream.Read(header, kHeaderSize) < kHeaderSize) RaiseEndsEarly("TGA", "its header");
    checkHeader(header);
    const int width = header[kWidth] | (header[kWidth + 1] << 8);
    const int height = header[kHeight] | (header[kHeight + 1] << 8);
    const TPixelFormat format = header[kBits] == 24 ? TPixelFormat::pf24bit : TPixelFormat::pf32bit;
    CheckImageFits(width, height, format, RemainingBytes(stream), 1);
    TBitmap image(width, height, format);
    const int64_t rowBytes = image.BytesPerRow();
    for (int row = height - 1; row >= 0; --row)
        if (stream.Read(image.ScanLine(row), rowBytes) < rowBytes) RaiseEndsEarly("TGA", PixelRow(height - row, height));
    Assign(std::move(image));
}

void TTGABitmap::SaveToStream(TStream& stream) {
    TBitmap image(*this);
    if (image.PixelFormat() != TPixelFormat::pf24bit && image.PixelFormat() != TPixelFormat::pf32bit)
        image.SetPixelFormat(TPixelFormat::pf24bit);
    uint8_t header[kHeaderSize] = {};
    header[kType] = 2;
    header[kWidth] = uint8_t(image.Width());
    header[kWidth + 1] = uint8_t(image.Width() >> 8);
    header[kHeight] = uint8_t(image.Height());
    header[kHeight + 1] = uint8_t(image.Height() >> 8);
    header[kBits] = uint8_t(BitsPerPixel(image.PixelFormat()));
    stream.WriteBuffer(header, kHeaderSize);
    for (int row = image.Height() - 1; row >= 0; --row) stream.WriteBuffer(image.ScanLine(row), image.BytesPerRow());
}

TUnitRegistration& TGAUnit() {
    static TUnitRegistration unit([] { TPicture::RegisterFileFormat("TGA", "TGA Image", TTGABitmap::ClassInfo()); },
                                  [] { TPicture::UnregisterGraphicClass(TTGABitmap::ClassInfo()); });
    return unit;
}

}  // namespace grottix
