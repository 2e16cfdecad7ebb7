#include "codecs/BmpFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "codecs/BmpRle.h"
#include "codecs/CodecSupport.h"
#include "storage/ByteReader.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
enum Compression : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6 };

[[noreturn]] void invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

struct BmpHeader {
    uint32_t pixelOffset = 0;
    uint32_t headerSize = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bits = 0;
    uint32_t compression = BI_RGB;
    uint32_t colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    size_t paletteOffset = 0;
    size_t paletteEntrySize = 4;
};

BmpHeader readHeader(ByteReader& in) {
    BmpHeader h;
    if (in.u8() != 'B' || in.u8() != 'M') invalid();
    in.skip(8);
    h.pixelOffset = in.u32();
    h.headerSize = in.u32();
    if (h.headerSize == 12) {
        h.width = in.u16();
        h.height = in.i16();
        in.skip(2);
        h.bits = in.u16();
        h.paletteEntrySize = 3;
        h.paletteOffset = kFileHeaderSize + 12;
        return h;
    }
    if (h.headerSize < kInfoHeaderSize) invalid();
    h.width = in.i32();
    h.height = in.i32();
    in.skip(2);
    h.bits = in.u16();
    h.compression = in.u32();
    in.skip(12);
    h.colorsUsed = in.u32();
    in.skip(4);
    const bool masksInHeader = h.headerSize >= 52;
    const bool hasMasks = h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS;
    if (masksInHeader || hasMasks) {
        const int count = h.headerSize >= 56 || h.compression == BI_ALPHABITFIELDS ? 4 : 3;
        for (int i = 0; i < count; ++i) h.masks[i] = in.u32();
    }
    h.paletteOffset = kFileHeaderSize + h.headerSize;
    if (!masksInHeader && hasMasks) h.paletteOffset += h.compression == BI_ALPHABITFIELDS ? 16 : 12;
    return h;
}

TPixelFormat formatFor(const BmpHeader& h) {
    switch (h.bits) {
        case 1: return TPixelFormat::pf1bit;
        case 4: return TPixelFormat::pf4bit;
        case 8: return TPixelFormat::pf8bit;
        case 16:
            return h.compression == BI_RGB || h.masks[0] != 0xF800 || h.masks[1] != 0x07E0 || h.masks[2] != 0x001F
                       ? TPixelFormat::pf24bit
                       : TPixelFormat::pf16bit;
        case 24: return TPixelFormat::pf24bit;
        case 32: return TPixelFormat::pf32bit;
        default: invalid();
    }
}

bool compressionFits(const BmpHeader& h) {
    switch (h.compression) {
        case BI_RGB: return true;
        case BI_RLE8: return h.bits == 8;
        case BI_RLE4: return h.bits == 4;
        case BI_BITFIELDS:
        case BI_ALPHABITFIELDS: return h.bits == 16 || h.bits == 32;
        default: return false;
    }
}

[[noreturn]] void endsEarly(const std::string& part) { RaiseEndsEarly("BMP", part); }

std::vector<TPaletteEntry> readPalette(std::span<const uint8_t> file, const BmpHeader& h) {
    if (h.bits > 8) return {};
    const size_t full = size_t{1} << h.bits;
    size_t count = h.colorsUsed == 0 ? full : std::min<size_t>(h.colorsUsed, full);
    // Some writers store fewer entries than the header implies, and start the pixels right after them.
    if (h.pixelOffset > h.paletteOffset) count = std::min<size_t>(count, (h.pixelOffset - h.paletteOffset) / h.paletteEntrySize);
    if (h.paletteOffset + count * h.paletteEntrySize > file.size()) endsEarly("its palette");
    std::vector<TPaletteEntry> palette(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = file.data() + h.paletteOffset + i * h.paletteEntrySize;
        palette[i] = {e[2], e[1], e[0]};
    }
    return palette;
}

// One colour channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
    uint32_t mask;
    int shift;
    int bits;
    explicit Channel(uint32_t m) : mask(m), shift(m ? std::countr_zero(m) : 0), bits(std::popcount(m)) {}
    uint8_t operator()(uint32_t pixel) const {
        if (bits == 0) return 0;
        const uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return uint8_t(v >> (bits - 8));
        const uint32_t top = (1u << bits) - 1;
        return uint8_t((v * 255 + top / 2) / top);
    }
};

void decodeBitFields(std::span<const uint8_t> src, const BmpHeader& h, uint8_t* row, int width) {
    uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    if (h.compression == BI_RGB) {
        if (h.bits == 16) { masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F; }
        else { masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF; }
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    const int bytes = h.bits / 8;
    const int outBytes = h.bits == 16 ? 3 : 4;
    for (int x = 0; x < width && size_t(x + 1) * size_t(bytes) <= src.size(); ++x) {
        uint32_t pixel = 0;
        std::memcpy(&pixel, src.data() + size_t(x) * size_t(bytes), size_t(bytes));
        uint8_t* out = row + size_t(x) * size_t(outBytes);
        out[0] = blue(pixel);
        out[1] = green(pixel);
        out[2] = red(pixel);
        if (outBytes == 4) out[3] = alpha(pixel);
    }
}

bool copiesRowsAsTheyAre(const BmpHeader& h, TPixelFormat format) {
    if (h.bits <= 8 || h.bits == 24) return true;
    if (format == TPixelFormat::pf16bit) return true;
    return h.bits == 32 && (h.compression == BI_RGB ||
                            (h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF));
}

void readRows(std::span<const uint8_t> data, const BmpHeader& h, bool topDown, TBitmap& image) {
    const size_t stride = ((size_t(image.Width()) * h.bits + 31) / 32) * 4;
    const bool plain = copiesRowsAsTheyAre(h, image.PixelFormat());
    const size_t rowBytes = size_t(image.BytesPerRow());
    // The last row may go without its padding.
    const size_t dataBytes = (size_t(image.Width()) * h.bits + 7) / 8;
    for (int line = 0; line < image.Height() && dataBytes > 0; ++line) {
        const size_t at = size_t(line) * stride;
        if (data.size() < at + dataBytes) endsEarly(PixelRow(line + 1, image.Height()));
        const auto src = data.subspan(at, std::min(stride, data.size() - at));
        uint8_t* row = image.ScanLine(topDown ? line : image.Height() - 1 - line);
        if (plain) std::memcpy(row, src.data(), std::min(rowBytes, src.size()));
        else decodeBitFields(src, h, row, image.Width());
    }
}

uint64_t expansionOf(uint32_t compression) { return compression == BI_RLE8 || compression == BI_RLE4 ? 256 : 2; }

}  // namespace

size_t ReadBmp(std::span<const uint8_t> file, TBitmap& image) {
    ByteReader in(file);
    BmpHeader h;
    try {
        h = readHeader(in);
    } catch (const EReadError&) {
        if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') invalid();
        endsEarly("its header");
    }
    if (!compressionFits(h) || h.width < 0 || h.height == INT32_MIN) invalid();
    const TPixelFormat format = formatFor(h);
    const bool topDown = h.height < 0;
    const int height = topDown ? -h.height : h.height;
    CheckImageFits(h.width, height, format, file.size(), expansionOf(h.compression));

    TBitmap decoded(0, 0, format);
    decoded.SetSize(h.width, height);
    if (h.bits <= 8) decoded.SetPalette(readPalette(file, h));
    size_t offset = h.pixelOffset;
    if (offset < h.paletteOffset) offset = h.paletteOffset + decoded.Palette().size() * h.paletteEntrySize;
    if (offset > file.size() && height > 0) endsEarly(PixelRow(1, height));
    const auto data = file.subspan(std::min(offset, file.size()));
    if (h.compression == BI_RLE8 || h.compression == BI_RLE4) {
        if (!DecodeBmpRle(data, h.bits, topDown, decoded)) endsEarly("its pixel data");
    } else {
        readRows(data, h, topDown, decoded);
    }
    image.Assign(std::move(decoded));
    return file.size();
}

std::vector<uint8_t> WriteBmp(const TBitmap& image) {
    const int bits = BitsPerPixel(image.PixelFormat());
    const bool indexed = bits <= 8;
    const bool fields = bits == 16;
    const size_t paletteCount = indexed ? (image.Palette().empty() ? size_t{1} << bits : image.Palette().size()) : 0;
    const size_t stride = ((size_t(image.Width()) * size_t(bits) + 31) / 32) * 4;
    const size_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + (fields ? 12 : 0) + paletteCount * 4;
    const size_t imageBytes = stride * size_t(image.Height());
    std::vector<uint8_t> out(pixelOffset + imageBytes, 0);
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&out[at], &v, 2); };
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&out[at], &v, 4); };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, uint32_t(out.size()));
    put32(10, uint32_t(pixelOffset));
    put32(14, uint32_t(kInfoHeaderSize));
    put32(18, uint32_t(image.Width()));
    put32(22, uint32_t(image.Height()));
    put16(26, 1);
    put16(28, uint16_t(bits));
    put32(30, fields ? BI_BITFIELDS : BI_RGB);
    put32(34, uint32_t(imageBytes));
    put32(46, uint32_t(paletteCount));
    size_t at = kFileHeaderSize + kInfoHeaderSize;
    if (fields) {
        put32(at, 0xF800);
        put32(at + 4, 0x07E0);
        put32(at + 8, 0x001F);
        at += 12;
    }
    for (size_t i = 0; i < image.Palette().size() && indexed; ++i, at += 4) {
        out[at] = image.Palette()[i].blue;
        out[at + 1] = image.Palette()[i].green;
        out[at + 2] = image.Palette()[i].red;
    }
    const size_t rowBytes = size_t(image.BytesPerRow());
    for (int y = 0; y < image.Height(); ++y) {
        if (rowBytes) std::memcpy(&out[pixelOffset + size_t(image.Height() - 1 - y) * stride], image.ScanLine(y), rowBytes);
    }
    return out;
}

void TBitmap::LoadFromStream(TStream& stream) {
    // The file header's size field says where the file ends; anything after it is someone else's.
    const int64_t start = stream.Position();
    uint8_t header[kFileHeaderSize] = {};
    const int64_t headerBytes = stream.Read(header, kFileHeaderSize);
    if (headerBytes < 2 || header[0] != 'B' || header[1] != 'M') invalid();
    if (headerBytes < int64_t(kFileHeaderSize)) endsEarly("its header");
    uint32_t declared = 0;
    std::memcpy(&declared, header + 2, 4);
    std::vector<uint8_t> file(header, header + kFileHeaderSize);
    const uint64_t available = RemainingBytes(stream);
    uint64_t wanted = available;
    if (declared > kFileHeaderSize + kInfoHeaderSize && declared - kFileHeaderSize < available)
        wanted = declared - kFileHeaderSize;
    file.resize(kFileHeaderSize + size_t(wanted));
    const int64_t got = stream.Read(file.data() + kFileHeaderSize, int64_t(wanted));
    file.resize(kFileHeaderSize + size_t(std::max<int64_t>(got, 0)));
    ReadBmp(file, *this);
    stream.Seek(start + int64_t(file.size()), SeekOrigin::Beginning);
}

void TBitmap::SaveToStream(TStream& stream) {
    const std::vector<uint8_t> file = WriteBmp(*this);
    stream.WriteBuffer(file.data(), int64_t(file.size()));
}

}  // namespace grottix
