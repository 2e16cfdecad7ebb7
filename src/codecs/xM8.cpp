#include "codecs/xM8.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "codecs/CodecSupport.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

constexpr int kHeaderSize = 1040;
constexpr int kLevels = 16;
enum : int { kVersion = 0, kWidths = 36, kHeights = 100, kOffsets = 164, kPalette = 260 };

uint32_t get32(const uint8_t* header, int at) {
    uint32_t value;
    std::memcpy(&value, header + at, 4);
    return value;
}
void put32(uint8_t* header, int at, uint32_t value) { std::memcpy(header + at, &value, 4); }

// Only level 0 is decoded, but a file cut inside a smaller level is still a cut file: every level
// the header describes, up to the first of no size, must lie within the fileBytes the file holds.
void checkMipLevelsPresent(const uint8_t* header, uint64_t fileBytes) {
    for (int level = 1; level < kLevels; ++level) {
        const uint64_t width = get32(header, kWidths + level * 4), height = get32(header, kHeights + level * 4);
        if (width == 0 || height == 0) return;
        const uint64_t offset = get32(header, kOffsets + level * 4);
        if (offset > fileBytes || width * height > fileBytes - offset)
            RaiseEndsEarly("M8", "its mip level " + std::to_string(level) + " (" + std::to_string(width) + " by " +
                                     std::to_string(height) + ")");
    }
}

int brightness(const TPaletteEntry& e) { return e.red + e.green + e.blue; }

// Entry 0 black, entries 1 to 255 from the file, black entries replaced by the darkest colour.
std::vector<TPaletteEntry> loadedPalette(const uint8_t* header, int& darkest) {
    std::vector<TPaletteEntry> palette(256);
    for (int i = 1; i < 256; ++i) {
        const uint8_t* e = header + kPalette + i * 3;
        palette[size_t(i)] = {e[0], e[1], e[2]};
    }
    darkest = DarkestPaletteIndex(palette);
    for (int i = 255; i >= 1; --i)
        if (brightness(palette[size_t(i)]) == 0) palette[size_t(i)] = palette[size_t(darkest)];
    return palette;
}

// The writer's colour table starts with the sixteen colours of a 4-bit display palette (entry 0
// black, so that no other reserved entry is black and black pixels read back as the darkest colour);
// new colours are appended from 16 on. Lookups are cached by colour: a colour's answer never changes
// once given, because entries are only ever appended after every entry it was compared with.
class M8Quantiser {
public:
    M8Quantiser()
        : table_{{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},   {128, 0, 128},
                 {0, 128, 128}, {128, 128, 128}, {192, 192, 192}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                 {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}} {}

    uint8_t indexOf(uint8_t r, uint8_t g, uint8_t b) {
        const uint32_t key = r | (g << 8) | (uint32_t{b} << 16);
        const auto cached = cache_.find(key);
        if (cached != cache_.end()) return cached->second;
        const uint8_t index = lookUp({r, g, b});
        cache_.emplace(key, index);
        return index;
    }

    std::vector<TPaletteEntry> palette() const {
        std::vector<TPaletteEntry> result = table_;
        result.resize(256);
        return result;
    }

private:
    uint8_t lookUp(const TPaletteEntry& c) {
        for (size_t i = 0; i < table_.size(); ++i) {
            const int dr = table_[i].red - c.red, dg = table_[i].green - c.green, db = table_[i].blue - c.blue;
            if (dr * dr + dg * dg + db * db <= 256) return uint8_t(i);
        }
        if (table_.size() < 256) {
            table_.push_back(c);
            return uint8_t(table_.size() - 1);
        }
        size_t best = 0;
        int64_t bestProduct = INT64_MAX;
        for (size_t i = 0; i < table_.size(); ++i) {
            const int64_t product = int64_t(std::abs(table_[i].red - c.red)) * std::abs(table_[i].green - c.green) *
                                    std::abs(table_[i].blue - c.blue);
            if (product < bestProduct) {
                bestProduct = product;
                best = i;
            }
        }
        return uint8_t(best);
    }

    std::vector<TPaletteEntry> table_;
    std::unordered_map<uint32_t, uint8_t> cache_;
};

}  // namespace

int DarkestPaletteIndex(const std::vector<TPaletteEntry>& palette) {
    if (palette.size() < 2) return 1;
    int darkest = 1;
    for (int i = std::min<int>(255, int(palette.size()) - 1); i >= 1; --i) {
        const int sum = brightness(palette[size_t(i)]);
        if (sum != 0 && sum < brightness(palette[size_t(darkest)])) darkest = i;
    }
    return darkest;
}

void ReduceToM8Palette(TBitmap& image) {
    switch (image.PixelFormat()) {
        case TPixelFormat::pf8bit: return;
        case TPixelFormat::pf1bit:
        case TPixelFormat::pf4bit: image.SetPixelFormat(TPixelFormat::pf8bit); return;
        default: break;
    }
    image.SetPixelFormat(TPixelFormat::pf24bit);
    M8Quantiser quantiser;
    TBitmap indexed(image.Width(), image.Height(), TPixelFormat::pf8bit);
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* in = image.ScanLine(y);
        uint8_t* out = indexed.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x) out[x] = quantiser.indexOf(in[x * 3 + 2], in[x * 3 + 1], in[x * 3]);
    }
    indexed.SetPalette(quantiser.palette());
    image.Assign(std::move(indexed));
}

const TGraphicClass& TM8Bitmap::ClassInfo() {
    static const TGraphicClass info{"TM8Bitmap", [] { return std::make_unique<TM8Bitmap>(); }};
    return info;
}

void TM8Bitmap::LoadFromStream(TStream& stream) {
    const int64_t start = stream.Position();
    uint8_t header[kHeaderSize] = {};
    if (stream.Read(header, kHeaderSize) < kHeaderSize) RaiseEndsEarly("M8", "its header");
    const uint32_t width = get32(header, kWidths), height = get32(header, kHeights);
    const uint64_t fileBytes = uint64_t(std::max<int64_t>(stream.Size() - start, 0));
    CheckImageFits(width, height, TPixelFormat::pf8bit, fileBytes, 1);
    TBitmap image(int(width), int(height), TPixelFormat::pf8bit);
    int darkest = 1;
    image.SetPalette(loadedPalette(header, darkest));
    stream.Seek(start + int64_t(get32(header, kOffsets)), SeekOrigin::Beginning);
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* row = image.ScanLine(y);
        if (stream.Read(row, image.Width()) < image.Width()) RaiseEndsEarly("M8", PixelRow(y + 1, image.Height()));
        std::replace(row, row + image.Width(), uint8_t{0}, uint8_t(darkest));
    }
    checkMipLevelsPresent(header, fileBytes);
    Assign(std::move(image));
}

void TM8Bitmap::SaveToStream(TStream& stream) {
    TBitmap image(*this);
    ReduceToM8Palette(image);
    uint8_t header[kHeaderSize] = {};
    put32(header, kVersion, 2);
    for (int level = 0; level < kLevels; ++level) {
        put32(header, kWidths + level * 4, uint32_t(image.Width()));
        put32(header, kHeights + level * 4, uint32_t(image.Height()));
        put32(header, kOffsets + level * 4, kHeaderSize);
    }
    const auto& palette = image.Palette();
    for (size_t i = 0; i < std::min<size_t>(palette.size(), 256); ++i) {
        header[kPalette + i * 3] = palette[i].red;
        header[kPalette + i * 3 + 1] = palette[i].green;
        header[kPalette + i * 3 + 2] = palette[i].blue;
    }
    stream.WriteBuffer(header, kHeaderSize);
    for (int y = 0; y < image.Height(); ++y) stream.WriteBuffer(image.ScanLine(y), image.Width());
}

TUnitRegistration& M8Unit() {
    static TUnitRegistration unit(
        [] { TPicture::RegisterFileFormat("M8", "M8 (Heretic 2) Mipmap bitmap", TM8Bitmap::ClassInfo()); },
        [] { TPicture::UnregisterGraphicClass(TM8Bitmap::ClassInfo()); });
    return unit;
}

}  // namespace grottix
