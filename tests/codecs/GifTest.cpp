#include <gtest/gtest.h>

#include "codecs/CodecSupport.h"
#include "codecs/CodecTestSupport.h"
#include "codecs/xGif.h"

namespace grottix {
namespace {

// Packs codes least significant bit first and cuts them into sub-blocks.
class CodeWriter {
public:
    void put(int code, int bits) {
        buffer_ |= uint64_t(code) << count_;
        count_ += bits;
        while (count_ >= 8) {
            bytes_.push_back(uint8_t(buffer_));
            buffer_ >>= 8;
            count_ -= 8;
        }
    }
    std::vector<uint8_t> subBlocks(bool terminate = true) {
        if (count_ > 0) bytes_.push_back(uint8_t(buffer_));
        std::vector<uint8_t> out;
        for (size_t i = 0; i < bytes_.size(); i += 255) {
            const size_t n = std::min<size_t>(255, bytes_.size() - i);
            out.push_back(uint8_t(n));
            out.insert(out.end(), bytes_.begin() + long(i), bytes_.begin() + long(i + n));
        }
        if (terminate) out.push_back(0);
        return out;
    }

private:
    std::vector<uint8_t> bytes_;
    uint64_t buffer_ = 0;
    int count_ = 0;
};

struct GifBuilder {
    int width = 2, height = 2;
    bool interlaced = false;
    bool globalTable = true;
    bool localTable = false;
    int minCodeSize = 8;
    std::vector<uint8_t> beforeImage;

    std::vector<uint8_t> file(const std::vector<uint8_t>& blocks) const {
        std::vector<uint8_t> out = test::Bytes("GIF89a");
        out.insert(out.end(), {uint8_t(width), uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8),
                               uint8_t(globalTable ? 0x87 : 0x07), 0, 0});
        if (globalTable) append(out, test::DistinctPalette(256));
        out.insert(out.end(), beforeImage.begin(), beforeImage.end());
        out.insert(out.end(), {',', 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                               uint8_t(height >> 8), uint8_t((localTable ? 0x87 : 0) | (interlaced ? 0x40 : 0))});
        if (localTable) {
            std::vector<TPaletteEntry> reversed = test::DistinctPalette(256);
            std::reverse(reversed.begin(), reversed.end());
            append(out, reversed);
        }
        out.push_back(uint8_t(minCodeSize));
        out.insert(out.end(), blocks.begin(), blocks.end());
        out.push_back(';');
        return out;
    }
    static void append(std::vector<uint8_t>& out, const std::vector<TPaletteEntry>& palette) {
        for (const auto& e : palette) out.insert(out.end(), {e.red, e.green, e.blue});
    }
};

// Every pixel a literal 9-bit code, with a clear code often enough that codes never grow.
std::vector<uint8_t> literalCodes(const std::vector<uint8_t>& pixels) {
    CodeWriter w;
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i % 250 == 0) w.put(256, 9);
        w.put(pixels[i], 9);
    }
    w.put(257, 9);
    return w.subBlocks();
}

std::vector<uint8_t> pixelsOf(const TBitmap& image) { return image.Pixels(); }

std::string loadError(const std::vector<uint8_t>& file) {
    try {
        test::Decode<TGifBitmap>(file);
    } catch (const EGifException& error) {
        return error.what();
    }
    return "";
}

TEST(Gif, LiteralCodesDecodeToTheImageWithTheGlobalPalette) {
    const TBitmap image = test::IndexedImage(23, 17);
    GifBuilder gif;
    gif.width = 23;
    gif.height = 17;
    const TGifBitmap back = test::Decode<TGifBitmap>(gif.file(literalCodes(pixelsOf(image))));
    EXPECT_EQ(back.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(back.Pixels(), image.Pixels());
    EXPECT_EQ(back.Palette(), image.Palette());
}

TEST(Gif, ALocalColourTableWinsOverTheGlobalOne) {
    GifBuilder gif;
    gif.localTable = true;
    const TGifBitmap back = test::Decode<TGifBitmap>(gif.file(literalCodes({0, 1, 2, 3})));
    EXPECT_EQ(back.Palette()[0], test::DistinctPalette(256)[255]);
}

TEST(Gif, InterlacedRowsArePlacedByTheFourPasses) {
    GifBuilder gif;
    gif.width = 1;
    gif.height = 10;
    gif.interlaced = true;
    // Rows come in the order 0, 8, 4, 2, 6, 1, 3, 5, 7, 9; each row's pixel is its row number.
    const TGifBitmap back = test::Decode<TGifBitmap>(gif.file(literalCodes({0, 8, 4, 2, 6, 1, 3, 5, 7, 9})));
    for (int y = 0; y < 10; ++y) EXPECT_EQ(back.ScanLine(y)[0], y);
}

TEST(Gif, RepeatedStringsAndTheNextFreeCodeDecode) {
    GifBuilder gif;
    gif.width = 7;
    gif.height = 1;
    CodeWriter w;
    w.put(256, 9);
    w.put(5, 9);    // 5
    w.put(258, 9);  // the code being defined: 5 5
    w.put(259, 9);  // 5 5 5
    w.put(6, 9);    // 6
    w.put(257, 9);
    const TGifBitmap back = test::Decode<TGifBitmap>(gif.file(w.subBlocks()));
    EXPECT_EQ(back.Pixels(), (std::vector<uint8_t>{5, 5, 5, 5, 5, 5, 6}));
}

TEST(Gif, AnIncompleteLastRowIsNotKept) {
    GifBuilder gif;
    gif.width = 3;
    const TGifBitmap back = test::Decode<TGifBitmap>(gif.file(literalCodes({1, 2, 3, 4, 5})));
    EXPECT_EQ(back.Pixels(), (std::vector<uint8_t>{1, 2, 3, 0, 0, 0}));
}

TEST(Gif, BlocksAndCodesOutOfPlaceFailWithTheirMessages) {
    GifBuilder extension;
    extension.beforeImage = {0x21, 0xF9, 4, 0, 0, 0, 0, 0};
    EXPECT_EQ(loadError(extension.file(literalCodes({1, 2, 3, 4}))), "Bad data");

    GifBuilder localOnly;
    localOnly.globalTable = false;
    localOnly.localTable = true;
    EXPECT_EQ(loadError(localOnly.file(literalCodes({1, 2, 3, 4}))), "Missing color table");

    EXPECT_EQ(loadError(test::Bytes("PNG89a and more")), "Not a GIF file");
    EXPECT_EQ(loadError({}), "Not a GIF file");

    // A file cut anywhere before its code stream is complete ends early.
    const std::vector<uint8_t> whole = GifBuilder().file(literalCodes({1, 2, 3, 4}));
    for (size_t length : {size_t(3), size_t(12), size_t(500), size_t(795), whole.size() - 4}) {
        try {
            test::Decode<TGifBitmap>(std::vector<uint8_t>(whole.begin(), whole.begin() + long(length)));
            ADD_FAILURE() << length;
        } catch (const EImageEndsEarly& error) {
            EXPECT_EQ(std::string(error.what()).rfind("GIF image ends early in its ", 0), 0u) << error.what();
        }
    }

    for (int size : {1, 10}) {
        GifBuilder badSize;
        badSize.minCodeSize = size;
        EXPECT_EQ(loadError(badSize.file(literalCodes({1}))), "Bad code size");
    }

    GifBuilder gif;
    CodeWriter beyond;
    beyond.put(256, 9);
    beyond.put(1, 9);
    beyond.put(259, 9);  // the next free code is 258
    EXPECT_EQ(loadError(gif.file(beyond.subBlocks())), "Bad code");

    CodeWriter endAfterClear;
    endAfterClear.put(256, 9);
    endAfterClear.put(257, 9);
    EXPECT_EQ(loadError(gif.file(endAfterClear.subBlocks())), "Bad code");

    CodeWriter noEnd;
    noEnd.put(256, 9);
    noEnd.put(1, 9);
    EXPECT_EQ(loadError(gif.file(noEnd.subBlocks())), "No data");

    EXPECT_THROW(TGif().Decode(nullptr), EGifException);
    try {
        TGif().Decode(nullptr);
    } catch (const EGifException& error) {
        EXPECT_STREQ(error.what(), "GIF file not found");
    }
}

TEST(Gif, TwelveBitCodesAfterAFullTableWithoutAClearCodeAreBadBitSize) {
    GifBuilder gif;
    gif.width = 64;
    gif.height = 64;
    CodeWriter w;
    w.put(256, 9);
    int next = 258, bits = 9;
    w.put(1, bits);
    while (next < 4096) {  // every literal adds one entry
        w.put(1, bits);
        ++next;
        if (next == (1 << bits) && bits < 12) ++bits;
    }
    w.put(1, 12);
    EXPECT_EQ(loadError(gif.file(w.subBlocks())), "Bad bit size");
}

TEST(Gif, ImagesWiderThanTheOldRowBufferDecode) {
    GifBuilder gif;
    gif.width = 3000;
    gif.height = 1;
    std::vector<uint8_t> pixels(3000);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 7);
    EXPECT_EQ(test::Decode<TGifBitmap>(gif.file(literalCodes(pixels))).Pixels(), pixels);
}

TEST(Gif, CodesThatSayFarMoreThanASmallImageHoldsCostOnlyWhatTheImageHolds) {
    // As when a zeroed descriptor shrinks the image: almost a table's worth of ever longer strings,
    // seven million bytes from 6 KB of codes, for an image of one pixel.
    GifBuilder gif;
    gif.width = gif.height = 1;
    CodeWriter w;
    w.put(256, 9);
    w.put(5, 9);
    int bits = 9;
    for (int next = 258; next < 4000; ++next) {
        w.put(next, bits);  // the next free code: the previous string and its own first byte
        if (next + 1 == (1 << bits)) ++bits;
    }
    w.put(257, bits);
    const auto file = gif.file(w.subBlocks());
    TMemoryStream stream(file);
    TGif decoder;
    EXPECT_EQ(decoder.Decode(&stream).Pixels(), std::vector<uint8_t>{5});
    EXPECT_LE(decoder.TableSteps(), 1u + 4096u) << "one pixel and at most one string walked";
    EXPECT_LT(file.size(), 7000u);
}

TEST(Gif, AHugeClaimedSizeIsRefused) {
    GifBuilder gif;
    gif.width = 65535;
    gif.height = 65535;
    EXPECT_THROW(test::Decode<TGifBitmap>(gif.file(literalCodes({1}))), EGrottixError);
}

TEST(Gif, SavingWritesAPlatformBitmap) {
    GifBuilder gif;
    TGifBitmap image = test::Decode<TGifBitmap>(gif.file(literalCodes({1, 2, 3, 4})));
    TMemoryStream stream;
    image.SaveToStream(stream);
    EXPECT_EQ(stream.Bytes()[0], 'B');
    EXPECT_EQ(stream.Bytes()[1], 'M');
}

}  // namespace
}  // namespace grottix
