#pragma once
// TGifBitmap reads the first image of a GIF file into an 8-bit image; saving is the platform
// bitmap's. TGif does the work: it checks the blocks the reader expects, in order and with nothing
// between them (an extension block before the first image is "Bad data"), and runs the LZW decoder.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "codecs/Bitmap.h"
#include "codecs/PictureFormats.h"

namespace grottix {

class EGifException : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};

class TGif {
public:
    // Decodes the first image from the stream's position; a null stream is "GIF file not found".
    TBitmap Decode(TStream* stream);
    // String-table entries the last decode walked: at most the image's pixels plus one string, however
    // much more its codes say.
    uint64_t TableSteps() const { return tableSteps_; }

private:
    void readHeader(TStream& stream);
    std::vector<uint8_t> readSubBlocks(TStream& stream);
    // Decodes the code stream into width x height pixels in the order they come; returns how many
    // complete rows it produced.
    int decodeLzw(std::span<const uint8_t> codes, int minCodeSize, std::vector<uint8_t>& pixels);
    TBitmap assemble(const std::vector<uint8_t>& pixels, int completeRows) const;

    std::array<uint8_t, 768> globalTable_{};
    std::array<uint8_t, 768> localTable_{};
    bool hasLocalTable_ = false;
    bool interlaced_ = false;
    bool cut_ = false;  // the stream ended inside the image's sub-blocks
    int width_ = 0;
    int height_ = 0;
    uint64_t tableSteps_ = 0;
};

class TGifBitmap : public TBitmap {
public:
    static const TGraphicClass& ClassInfo();
    void LoadFromStream(TStream& stream) override;
    // Component streaming stays the platform bitmap's.
    void ReadData(TStream& stream) override { TBitmap::LoadFromStream(stream); }
};

TUnitRegistration& GifUnit();

}  // namespace grottix
