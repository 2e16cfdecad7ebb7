#include "codecs/xWZ.h"

#include <algorithm>
#include <cstring>

#include "codecs/CodecSupport.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

constexpr size_t kHeaderSize = 4;
constexpr size_t kPaletteSize = 1024;
constexpr int kMaxRun = 255;
// One pair of bytes sets at most 256 pixels.
constexpr uint64_t kMaxExpansion = 128;

// Fills rows from the top; rows beyond the image's height are dropped.
class RowFiller {
public:
    explicit RowFiller(TBitmap& image) : image_(image) {}
    bool done() const { return row_ >= image_.Height(); }
    void fill(int from, int to, uint8_t value) {
        to = std::min(to, image_.Width());
        if (from < to) std::memset(image_.ScanLine(row_) + from, value, size_t(to - from));
    }
    void nextRow() { ++row_; }
    int row() const { return row_; }

private:
    TBitmap& image_;
    int row_ = 0;
};

// Both decoders return how many rows they completed.
int decodeWZ1(std::span<const uint8_t> pairs, TBitmap& image) {
    RowFiller rows(image);
    const int width = image.Width();
    int column = 0;
    for (size_t i = 0; i + 1 < pairs.size() && !rows.done(); i += 2) {
        const int run = pairs[i];
        rows.fill(column, column + run, pairs[i + 1]);
        column += run;
        if (column >= width) {  // the rest of the run is dropped
            rows.nextRow();
            column = 0;
        }
    }
    return rows.row();
}

int decodeWZ2(std::span<const uint8_t> pairs, TBitmap& image) {
    RowFiller rows(image);
    const int width = image.Width();
    int column = 0;
    for (size_t i = 0; i + 1 < pairs.size() && !rows.done(); i += 2) {
        const uint8_t value = pairs[i + 1];
        rows.fill(column, column + pairs[i], value);
        column += pairs[i];
        while (column >= width && !rows.done()) {
            // The run goes on in the next row, taking the uncoded column 0 as well.
            const int remaining = column - width + 1;
            rows.nextRow();
            if (rows.done()) break;
            rows.fill(0, remaining, value);
            column = remaining;
        }
    }
    return rows.row();
}

void writeRun(std::vector<uint8_t>& out, int length, uint8_t value) {
    out.push_back(uint8_t(length));
    out.push_back(value);
}

void encodeWZ1Rows(const TBitmap& image, std::vector<uint8_t>& out) {
    const int width = image.Width();
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* row = image.ScanLine(y);
        int x = 0;
        while (x < width) {
            int run = 1;
            // The last pixel of a row always makes a run of its own.
            while (x + run < width - 1 && run < kMaxRun && row[x + run] == row[x]) ++run;
            writeRun(out, run, row[x]);
            x += run;
        }
    }
}

void encodeWZ2Rows(const TBitmap& image, std::vector<uint8_t>& out) {
    int run = 0;
    uint8_t value = 0;
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* row = image.ScanLine(y);
        for (int x = y == 0 ? 0 : 1; x < image.Width(); ++x) {
            if (run > 0 && (row[x] != value || run == kMaxRun)) {
                writeRun(out, run, value);
                run = 0;
            }
            value = row[x];
            ++run;
        }
    }
    if (run > 0) writeRun(out, run, value);
}

}  // namespace

TBitmap TWZ::Decode(std::span<const uint8_t> file, TVariant variant) {
    uint8_t header[kHeaderSize + kPaletteSize] = {};
    const char* format = variant == TVariant::WZ1 ? "WZ1" : "WZ2";
    if (file.size() < kHeaderSize) RaiseEndsEarly(format, "its header");
    if (file.size() < sizeof header) RaiseEndsEarly(format, "its palette");
    std::memcpy(header, file.data(), sizeof header);
    const int width = header[0] | (header[1] << 8);
    const int height = header[2] | (header[3] << 8);
    const auto pairs = file.size() > sizeof header ? file.subspan(sizeof header) : std::span<const uint8_t>();
    CheckImageFits(width, height, TPixelFormat::pf8bit, pairs.size(), kMaxExpansion);
    TBitmap image(width, height, TPixelFormat::pf8bit);
    std::vector<TPaletteEntry> palette(256);
    for (size_t i = 0; i < 256; ++i) {
        const uint8_t* e = header + kHeaderSize + i * 4;
        palette[i] = {e[0], e[1], e[2]};
    }
    image.SetPalette(palette);
    const int rows = variant == TVariant::WZ1 ? decodeWZ1(pairs, image) : decodeWZ2(pairs, image);
    if (rows < height && width > 0) RaiseEndsEarly(format, PixelRow(rows + 1, height));
    return image;
}

std::vector<uint8_t> TWZ::Encode(const TBitmap& source, TVariant variant) {
    TBitmap image(source);
    image.SetPixelFormat(TPixelFormat::pf8bit);
    std::vector<uint8_t> out(kHeaderSize + kPaletteSize, 0);
    out[0] = uint8_t(image.Width());
    out[1] = uint8_t(image.Width() >> 8);
    out[2] = uint8_t(image.Height());
    out[3] = uint8_t(image.Height() >> 8);
    const auto& palette = image.Palette();
    for (size_t i = 0; i < std::min<size_t>(palette.size(), 256); ++i) {
        out[kHeaderSize + i * 4] = palette[i].red;
        out[kHeaderSize + i * 4 + 1] = palette[i].green;
        out[kHeaderSize + i * 4 + 2] = palette[i].blue;
    }
    if (variant == TVariant::WZ1) encodeWZ1Rows(image, out);
    else encodeWZ2Rows(image, out);
    return out;
}

const TGraphicClass& TWZ1Bitmap::ClassInfo() {
    static const TGraphicClass info{"TWZ1Bitmap", [] { return std::make_unique<TWZ1Bitmap>(); }};
    return info;
}

void TWZ1Bitmap::LoadFromStream(TStream& stream) { Assign(TWZ::Decode(ReadRest(stream), TWZ::TVariant::WZ1)); }

void TWZ1Bitmap::SaveToStream(TStream& stream) {
    const std::vector<uint8_t> file = TWZ::Encode(*this, TWZ::TVariant::WZ1);
    stream.WriteBuffer(file.data(), int64_t(file.size()));
}

const TGraphicClass& TWZ2Bitmap::ClassInfo() {
    static const TGraphicClass info{"TWZ2Bitmap", [] { return std::make_unique<TWZ2Bitmap>(); }};
    return info;
}

void TWZ2Bitmap::LoadFromStream(TStream& stream) { Assign(TWZ::Decode(ReadRest(stream), TWZ::TVariant::WZ2)); }

void TWZ2Bitmap::SaveToStream(TStream& stream) {
    const std::vector<uint8_t> file = TWZ::Encode(*this, TWZ::TVariant::WZ2);
    stream.WriteBuffer(file.data(), int64_t(file.size()));
}

// One unit holds both formats; WZ2 is registered before WZ1.
TUnitRegistration& WZUnit() {
    static TUnitRegistration unit(
        [] {
            TPicture::RegisterFileFormat("WZ2", "WZ2-Format", TWZ2Bitmap::ClassInfo());
            TPicture::RegisterFileFormat("WZ1", "WZ1-Format", TWZ1Bitmap::ClassInfo());
        },
        [] {
            TPicture::UnregisterGraphicClass(TWZ2Bitmap::ClassInfo());
            TPicture::UnregisterGraphicClass(TWZ1Bitmap::ClassInfo());
        });
    return unit;
}

}  // namespace grottix
