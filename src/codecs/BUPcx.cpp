#include "codecs/BUPcx.h"

#include <algorithm>
#include <cstring>

#include "codecs/BURle.h"
#include "codecs/CodecSupport.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

constexpr const char* kNotPcx = "PCX : This isn't a valid PCX file";
constexpr const char* kUnknownFormat = "PCX : unknow format";
constexpr size_t kPaletteTrailer = 769;
enum : int { kBits = 3, kXMin = 4, kYMin = 6, kXMax = 8, kYMax = 10, kPalette16 = 16, kPlanes = 65, kBytesPerLine = 66 };

int get16(const uint8_t* h, int at) { return h[at] | (h[at + 1] << 8); }

TPixelFormat formatFor(int bits, int planes) {
    if (bits == 1 && planes == 1) return TPixelFormat::pf1bit;
    if (bits == 1 && planes == 4) return TPixelFormat::pf4bit;
    if (bits == 8 && planes == 1) return TPixelFormat::pf8bit;
    if (bits == 8 && planes == 3) return TPixelFormat::pf24bit;
    throw EGrottixError(kUnknownFormat);
}

std::vector<TPaletteEntry> greyRamp() {
    std::vector<TPaletteEntry> palette(256);
    for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i)};
    return palette;
}

// Expands one scan line (planes one after another, bytesPerLine apart) into an image row.
void placeScanLine(const uint8_t* line, size_t lineBytes, size_t bytesPerLine, TBitmap& image, int y) {
    uint8_t* row = image.ScanLine(y);
    const int width = image.Width();
    auto planeByte = [&](size_t plane, size_t offset) -> uint8_t {
        const size_t at = plane * bytesPerLine + offset;
        return offset < bytesPerLine && at < lineBytes ? line[at] : 0;
    };
    switch (image.PixelFormat()) {
        case TPixelFormat::pf1bit:
        case TPixelFormat::pf8bit:
            std::memcpy(row, line, std::min({lineBytes, bytesPerLine, size_t(image.BytesPerRow())}));
            return;
        case TPixelFormat::pf4bit:
            for (int x = 0; x < width; ++x) {
                uint8_t index = 0;
                for (size_t k = 0; k < 4; ++k)
                    index |= uint8_t(((planeByte(k, size_t(x) / 8) >> (7 - x % 8)) & 1) << k);
                row[x / 2] |= (x & 1) ? index : uint8_t(index << 4);
            }
            return;
        default:
            if (bytesPerLine >= size_t(width) && lineBytes >= 3 * bytesPerLine) {
                const uint8_t *red = line, *green = line + bytesPerLine, *blue = line + 2 * bytesPerLine;
                for (int x = 0; x < width; ++x, row += 3) {
                    row[0] = blue[x];
                    row[1] = green[x];
                    row[2] = red[x];
                }
                return;
            }
            for (int x = 0; x < width; ++x) {
                row[x * 3 + 2] = planeByte(0, size_t(x));
                row[x * 3 + 1] = planeByte(1, size_t(x));
                row[x * 3] = planeByte(2, size_t(x));
            }
    }
}

// Builds one scan line of the format's planes from an image row.
void buildScanLine(const TBitmap& image, int y, size_t bytesPerLine, uint8_t* line) {
    const uint8_t* row = image.ScanLine(y);
    const int width = image.Width();
    switch (image.PixelFormat()) {
        case TPixelFormat::pf4bit:
            for (int x = 0; x < width; ++x) {
                const uint8_t index = (x & 1) ? row[x / 2] & 0x0F : row[x / 2] >> 4;
                for (size_t k = 0; k < 4; ++k)
                    if (index & (1 << k)) line[k * bytesPerLine + size_t(x) / 8] |= uint8_t(0x80 >> (x % 8));
            }
            return;
        case TPixelFormat::pf24bit:
            for (int x = 0; x < width; ++x) {
                line[size_t(x)] = row[x * 3 + 2];
                line[bytesPerLine + size_t(x)] = row[x * 3 + 1];
                line[2 * bytesPerLine + size_t(x)] = row[x * 3];
            }
            return;
        default: std::memcpy(line, row, bytesPerLine);
    }
}

}  // namespace

const TGraphicClass& TBUPcx::ClassInfo() {
    static const TGraphicClass info{"TBUPcx", [] { return std::make_unique<TBUPcx>(); }};
    return info;
}

void TBUPcx::LoadFromStream(TStream& stream) {
    std::array<uint8_t, kHeaderSize> header{};
    const int64_t got = stream.Read(header.data(), kHeaderSize);
    if (got < 1 || header[0] != 10) throw EGrottixError(kNotPcx);
    if (got < kHeaderSize) RaiseEndsEarly("PCX", "its header");
    const int width = get16(header.data(), kXMax) - get16(header.data(), kXMin) + 1;
    const int height = get16(header.data(), kYMax) - get16(header.data(), kYMin) + 1;
    const TPixelFormat format = formatFor(header[kBits], header[kPlanes]);
    if (width < 0 || height < 0) throw EGrottixError(kNotPcx);
    const std::vector<uint8_t> rest = ReadRest(stream);
    CheckImageFits(width, height, format, rest.size(), 32);

    auto image = std::make_unique<TBitmap>(width, height, format);
    const size_t bytesPerLine = size_t(get16(header.data(), kBytesPerLine));
    const size_t lineBytes = bytesPerLine * header[kPlanes];
    if (format == TPixelFormat::pf1bit) image->SetPalette({{0, 0, 0}, {255, 255, 255}});
    if (format == TPixelFormat::pf4bit) {
        std::vector<TPaletteEntry> palette(16);
        for (size_t i = 0; i < 16; ++i)
            palette[i] = {header[kPalette16 + i * 3], header[kPalette16 + i * 3 + 1], header[kPalette16 + i * 3 + 2]};
        image->SetPalette(palette);
    }
    if (format == TPixelFormat::pf8bit) {
        image->SetPalette(greyRamp());
        if (rest.size() >= kPaletteTrailer && rest[rest.size() - kPaletteTrailer] == 12) {
            const uint8_t* p = rest.data() + rest.size() - kPaletteTrailer + 1;
            std::vector<TPaletteEntry> palette(256);
            for (size_t i = 0; i < 256; ++i) palette[i] = {p[i * 3], p[i * 3 + 1], p[i * 3 + 2]};
            image->SetPalette(palette);
        }
    }
    size_t consumed = 0;
    const std::vector<uint8_t> decoded = TBURle::Decode(rest, lineBytes * size_t(height), &consumed);
    if (decoded.size() < lineBytes * size_t(height)) RaiseEndsEarly("PCX", PixelRow(int64_t(decoded.size() / lineBytes) + 1, height));
    // An 8-bit file goes on with nothing, or with the marker and the whole 256-colour palette.
    if (format == TPixelFormat::pf8bit && rest.size() > consumed && rest.size() - consumed < kPaletteTrailer && rest[consumed] == 12)
        RaiseEndsEarly("PCX", "its palette");
    for (int y = 0; y < height && lineBytes > 0; ++y)
        placeScanLine(decoded.data() + size_t(y) * lineBytes, lineBytes, bytesPerLine, *image, y);
    header_ = header;
    for (size_t i = 0; i < image->Palette().size(); ++i) palette_[i] = image->Palette()[i];
    bitmap_ = std::move(image);
}

void TBUPcx::SaveToStream(TStream& stream) {
    if (!bitmap_) bitmap_ = std::make_unique<TBitmap>(0, 0, TPixelFormat::pf24bit);
    if (bitmap_->PixelFormat() == TPixelFormat::pf16bit || bitmap_->PixelFormat() == TPixelFormat::pf32bit)
        bitmap_->SetPixelFormat(TPixelFormat::pf24bit);
    const TBitmap& image = *bitmap_;
    const int bits = BitsPerPixel(image.PixelFormat());
    const int planes = bits == 4 ? 4 : bits == 24 ? 3 : 1;
    const size_t bytesPerLine = bits <= 4 ? (size_t(image.Width()) + 7) / 8 : size_t(image.Width());
    std::array<uint8_t, kHeaderSize> header{};
    auto put16 = [&](int at, int value) { header[size_t(at)] = uint8_t(value); header[size_t(at) + 1] = uint8_t(value >> 8); };
    header[0] = 10;
    header[1] = 5;
    header[2] = 1;
    header[kBits] = uint8_t(bits <= 4 ? 1 : 8);
    put16(kXMax, image.Width() - 1);
    put16(kYMax, image.Height() - 1);
    header[12] = 1; header[13] = 44; header[14] = 1; header[15] = 44;
    if (bits == 4)
        for (size_t i = 0; i < std::min<size_t>(16, image.Palette().size()); ++i) {
            header[kPalette16 + i * 3] = image.Palette()[i].red;
            header[kPalette16 + i * 3 + 1] = image.Palette()[i].green;
            header[kPalette16 + i * 3 + 2] = image.Palette()[i].blue;
        }
    header[kPlanes] = uint8_t(planes);
    put16(kBytesPerLine, int(bytesPerLine));
    header[69] = 1;
    // The image is the screen it was made for; these two are stored high byte first.
    header[70] = uint8_t(image.Height() >> 8); header[71] = uint8_t(image.Height());
    header[72] = uint8_t(image.Width() >> 8); header[73] = uint8_t(image.Width());

    const size_t lineBytes = bytesPerLine * size_t(planes);
    std::vector<uint8_t> lines(lineBytes * size_t(image.Height()), 0);
    for (int y = 0; y < image.Height(); ++y) buildScanLine(image, y, bytesPerLine, lines.data() + size_t(y) * lineBytes);
    const std::vector<uint8_t> coded = TBURle::Encode(lines);
    stream.WriteBuffer(header.data(), kHeaderSize);
    stream.WriteBuffer(coded.data(), int64_t(coded.size()));
    if (bits == 8 && !image.Palette().empty()) {
        uint8_t trailer[kPaletteTrailer] = {12};
        for (size_t i = 0; i < image.Palette().size(); ++i) {
            trailer[1 + i * 3] = image.Palette()[i].red;
            trailer[2 + i * 3] = image.Palette()[i].green;
            trailer[3 + i * 3] = image.Palette()[i].blue;
        }
        stream.WriteBuffer(trailer, kPaletteTrailer);
    }
    header_ = header;
}

void TBUPcx::AssignTo(TBitmap& destination) const {
    if (bitmap_) destination.Assign(*bitmap_);
    else destination.Assign(TBitmap());
}

void TBUPcx::Assign(const TBitmap* source) {
    bitmap_ = source ? std::make_unique<TBitmap>(*source) : nullptr;
}

void TBUPcx::Assign(const TBUPcx& source) {
    if (&source == this) return;
    if (!source.bitmap_) {
        bitmap_.reset();
        return;
    }
    TMemoryStream copy;
    TBUPcx saver;
    saver.bitmap_ = std::make_unique<TBitmap>(*source.bitmap_);
    saver.SaveToStream(copy);
    copy.SetPosition(0);
    LoadFromStream(copy);
}

TUnitRegistration& PcxUnit() {
    static TUnitRegistration unit(
        [] {
            TPicture::RegisterClass(TBUPcx::ClassInfo());
            TPicture::RegisterFileFormat("pcx", "PCX Image", TBUPcx::ClassInfo());
        },
        [] {
            TPicture::UnregisterGraphicClass(TBUPcx::ClassInfo());
            TPicture::UnregisterClass(TBUPcx::ClassInfo());
        });
    return unit;
}

}  // namespace grottix
