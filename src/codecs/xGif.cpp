#include "codecs/xGif.h"

#include <algorithm>
#include <cstring>

#include "codecs/CodecSupport.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxBits = 12;
// One code can stand for at most 4096 bytes.
constexpr uint64_t kMaxExpansion = 4096;

[[noreturn]] void fail(const char* message) { throw EGifException(message); }
[[noreturn]] void endsEarly(const char* part) { RaiseEndsEarly("GIF", part); }

// Reads count bytes; a stream that ends first is a cut file.
void readExactly(TStream& stream, void* out, int64_t count, const char* part) {
    if (stream.Read(out, count) < count) endsEarly(part);
}

int tableBytes(uint8_t packed) { return 3 << ((packed & 7) + 1); }

// Codes least significant bit first from the concatenated sub-blocks. Running out of codes is "No
// data", or a cut file when the sub-blocks ended with the stream instead of their terminator.
class CodeReader {
public:
    CodeReader(std::span<const uint8_t> data, bool cut) : data_(data), cut_(cut) {}
    int read(int bits) {
        while (count_ < bits) {
            if (pos_ >= data_.size()) {
                if (cut_) endsEarly("its image data");
                fail("No data");
            }
            buffer_ |= uint64_t(data_[pos_++]) << count_;
            count_ += 8;
        }
        const int code = int(buffer_ & ((1u << bits) - 1));
        buffer_ >>= bits;
        count_ -= bits;
        return code;
    }

private:
    std::span<const uint8_t> data_;
    bool cut_;
    size_t pos_ = 0;
    uint64_t buffer_ = 0;
    int count_ = 0;
};

// The string table: each entry is a prefix entry plus one byte.
struct StringTable {
    uint16_t prefix[kMaxCodes];
    uint8_t suffix[kMaxCodes];
    uint8_t first[kMaxCodes];
    uint16_t length[kMaxCodes];

    void initialise(int clear) {
        for (int i = 0; i < clear; ++i) {
            suffix[i] = first[i] = uint8_t(i);
            length[i] = 1;
        }
    }
    void add(int at, int previous, uint8_t byte) {
        prefix[at] = uint16_t(previous);
        suffix[at] = byte;
        first[at] = first[previous];
        length[at] = uint16_t(length[previous] + 1);
    }
    // Writes the code's string at out[pos...], dropping what lies beyond total, and counts the
    // entries it walks in steps. A string wholly beyond the image is not walked at all: codes that
    // say more than the image holds (a damaged size field) cost one step each, never their length.
    size_t emit(int code, uint8_t* out, size_t pos, size_t total, uint64_t& steps) const {
        const size_t n = length[code];
        if (pos >= total) return pos + n;
        size_t at = pos + n;
        for (; at > total; --at, ++steps) code = prefix[code];  // the tail that does not fit
        for (; at > pos; ++steps) {
            out[--at] = suffix[code];
            code = prefix[code];
        }
        return pos + n;
    }
};

// The row numbers of an interlaced image, in the order its rows come.
std::vector<int> interlacedRows(int height) {
    std::vector<int> rows;
    rows.reserve(size_t(height));
    const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = starts[pass]; y < height; y += steps[pass]) rows.push_back(y);
    return rows;
}

}  // namespace

TBitmap TGif::Decode(TStream* stream) {
    if (!stream) fail("GIF file not found");
    readHeader(*stream);
    uint8_t minCodeSize = 0;
    readExactly(*stream, &minCodeSize, 1, "its image data");
    if (minCodeSize < 2 || minCodeSize > 9) fail("Bad code size");
    const std::vector<uint8_t> codes = readSubBlocks(*stream);
    CheckImageFits(width_, height_, TPixelFormat::pf8bit, codes.size() + 16, kMaxExpansion);
    std::vector<uint8_t> pixels(size_t(width_) * size_t(height_));
    const int rows = decodeLzw(codes, minCodeSize, pixels);
    return assemble(pixels, rows);
}

void TGif::readHeader(TStream& stream) {
    uint8_t signature[6] = {}, screen[7] = {}, descriptor[10] = {};
    const int64_t got = std::max<int64_t>(stream.Read(signature, 6), 0);
    if (got == 0 || std::memcmp(signature, "GIF", size_t(std::min<int64_t>(got, 3))) != 0) fail("Not a GIF file");
    if (got < 6) endsEarly("its header");
    readExactly(stream, screen, 7, "its header");
    if (!(screen[4] & 0x80)) fail("Missing color table");
    readExactly(stream, globalTable_.data(), tableBytes(screen[4]), "its colour table");
    const int64_t described = stream.Read(descriptor, 10);
    if (described > 0 && descriptor[0] != ',') fail("Bad data");
    if (described < 10) endsEarly("its image descriptor");
    width_ = descriptor[5] | (descriptor[6] << 8);
    height_ = descriptor[7] | (descriptor[8] << 8);
    hasLocalTable_ = descriptor[9] & 0x80;
    interlaced_ = descriptor[9] & 0x40;
    if (hasLocalTable_) readExactly(stream, localTable_.data(), tableBytes(descriptor[9]), "its colour table");
}

std::vector<uint8_t> TGif::readSubBlocks(TStream& stream) {
    std::vector<uint8_t> codes;
    cut_ = false;
    for (;;) {
        uint8_t length = 0;
        if (stream.Read(&length, 1) != 1) cut_ = true;
        if (cut_ || length == 0) return codes;
        const size_t used = codes.size();
        codes.resize(used + length);
        const int64_t got = stream.Read(codes.data() + used, length);
        codes.resize(used + size_t(std::max<int64_t>(got, 0)));
        cut_ = got < length;
        if (cut_) return codes;
    }
}

int TGif::decodeLzw(std::span<const uint8_t> codes, int minCodeSize, std::vector<uint8_t>& pixels) {
    CodeReader in(codes, cut_);
    auto table = std::make_unique<StringTable>();
    const int clear = 1 << minCodeSize, end = clear + 1;
    table->initialise(clear);
    int codeSize = minCodeSize + 1, next = clear + 2, limit = 1 << codeSize;
    int previous = -1;  // -1: a clear code came last (or nothing yet)
    uint8_t* out = pixels.data();
    const size_t total = pixels.size();
    size_t pos = 0;
    tableSteps_ = 0;
    for (;;) {
        const int code = in.read(codeSize);
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            limit = 1 << codeSize;
            previous = -1;
            continue;
        }
        if (next >= kMaxCodes && codeSize == kMaxBits) fail("Bad bit size");
        if (code == end) {
            if (previous < 0) fail("Bad code");
            break;
        }
        if (previous < 0) {
            const int literal = code < clear ? code : 0;  // a code not yet defined is taken as 0
            if (pos < total) out[pos] = uint8_t(literal);
            ++pos;
            previous = literal;
            continue;
        }
        if (code > next) fail("Bad code");
        if (code == next) {
            table->add(next, previous, table->first[previous]);
        } else if (next < kMaxCodes) {
            table->add(next, previous, table->first[code]);
        }
        pos = table->emit(code, out, pos, total, tableSteps_);
        if (next < kMaxCodes) ++next;
        if (next >= limit && codeSize < kMaxBits) {
            ++codeSize;
            limit <<= 1;
        }
        previous = code;
    }
    if (width_ == 0) return 0;
    return int(std::min<size_t>(pos, total) / size_t(width_));
}

TBitmap TGif::assemble(const std::vector<uint8_t>& pixels, int completeRows) const {
    TBitmap image(width_, height_, TPixelFormat::pf8bit);
    const auto& table = hasLocalTable_ ? localTable_ : globalTable_;
    std::vector<TPaletteEntry> palette(256);
    for (size_t i = 0; i < 256; ++i) palette[i] = {table[i * 3], table[i * 3 + 1], table[i * 3 + 2]};
    image.SetPalette(palette);
    const size_t rowBytes = size_t(width_);
    const std::vector<int> order = interlaced_ ? interlacedRows(height_) : std::vector<int>();
    for (int i = 0; i < completeRows; ++i) {
        const int y = interlaced_ ? order[size_t(i)] : i;
        std::memcpy(image.ScanLine(y), pixels.data() + size_t(i) * rowBytes, rowBytes);
    }
    return image;
}

const TGraphicClass& TGifBitmap::ClassInfo() {
    static const TGraphicClass info{"TGifBitmap", [] { return std::make_unique<TGifBitmap>(); }};
    return info;
}

void TGifBitmap::LoadFromStream(TStream& stream) {
    TGif gif;
    Assign(gif.Decode(&stream));
}

TUnitRegistration& GifUnit() {
    static TUnitRegistration unit([] { TPicture::RegisterFileFormat("gif", "GIF-Format", TGifBitmap::ClassInfo()); },
                                  [] { TPicture::UnregisterGraphicClass(TGifBitmap::ClassInfo()); });
    return unit;
}

}  // namespace grottix
