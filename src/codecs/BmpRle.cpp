#include "codecs/BmpRle.h"

namespace grottix {

namespace {

class RleCanvas {
public:
    RleCanvas(TBitmap& image, bool topDown) : image_(image), topDown_(topDown) {}

    void put(uint8_t index) {
        if (x_ < image_.Width() && line_ < image_.Height()) {
            uint8_t* row = image_.ScanLine(topDown_ ? line_ : image_.Height() - 1 - line_);
            if (image_.PixelFormat() == TPixelFormat::pf8bit) {
                row[x_] = index;
            } else {
                const int shift = (x_ & 1) ? 0 : 4;
                row[x_ >> 1] = uint8_t((row[x_ >> 1] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
            }
        }
        ++x_;
    }
    void newLine() { x_ = 0; ++line_; }
    void move(int dx, int dy) { x_ += dx; line_ += dy; }
    bool finished() const { return line_ >= image_.Height(); }
    // Every row reached: past the last one, or on it with its width filled.
    bool complete() const { return finished() || (line_ == image_.Height() - 1 && x_ >= image_.Width()); }

private:
    TBitmap& image_;
    bool topDown_;
    int x_ = 0;
    int line_ = 0;
};

}  // namespace

bool DecodeBmpRle(std::span<const uint8_t> data, int bitsPerPixel, bool topDown, TBitmap& image) {
    RleCanvas canvas(image, topDown);
    const bool nibbles = bitsPerPixel == 4;
    size_t pos = 0;
    auto pixelOf = [nibbles](uint8_t value, int i) -> uint8_t {
        return nibbles ? uint8_t((i & 1) ? value & 0x0F : value >> 4) : value;
    };
    while (pos + 1 < data.size() && !canvas.finished()) {
        const uint8_t count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) canvas.put(pixelOf(value, i));
            continue;
        }
        if (value == 0) { canvas.newLine(); continue; }
        if (value == 1) return true;
        if (value == 2) {
            if (pos + 1 >= data.size()) return canvas.complete();
            canvas.move(data[pos], data[pos + 1]);
            pos += 2;
            continue;
        }
        // An absolute run of `value` pixels, padded to a whole 16-bit word.
        const size_t bytes = nibbles ? (size_t(value) + 1) / 2 : value;
        for (int i = 0; i < value; ++i) {
            const size_t at = pos + (nibbles ? size_t(i) / 2 : size_t(i));
            if (at >= data.size()) return canvas.complete();
            canvas.put(pixelOf(data[at], i));
        }
        pos += (bytes + 1) & ~size_t{1};
    }
    return canvas.complete();
}

}  // namespace grottix
