#include <gtest/gtest.h>

#include <functional>

#include "codecs/BUPcx.h"
#include "codecs/CodecSupport.h"
#include "codecs/CodecTestSupport.h"
#include "codecs/Jpeg.h"
#include "codecs/xM8.h"
#include "codecs/xPPM.h"
#include "codecs/xTGA.h"
#include "codecs/xWZ.h"
#include "codecs/zBitmap.h"

namespace grottix {
namespace {

struct Format {
    const char* name;
    std::vector<uint8_t> file;
    std::function<void(const std::vector<uint8_t>&)> decode;
    bool lastByteIsData = true;  // not so in an ASCII pixmap, whose samples may lose digits unnoticed
};

template <typename Codec>
Format format(const char* name, const TBitmap& image) {
    return {name, test::Encode<Codec>(image), [](const std::vector<uint8_t>& bytes) { test::Decode<Codec>(bytes); }};
}

std::vector<Format> formats() {
    // 16 pixels of 24 bits make rows without padding, so the last byte of every file is data.
    const TBitmap colour = test::GradientImage(16, 12), indexed = test::IndexedImage(16, 12);
    TPPMBitmap ascii;
    TMemoryStream asciiFile(test::Bytes("P3\n1 1\n255\n0 0 0"));
    ascii.LoadFromStream(asciiFile);
    ascii.Assign(colour);
    TMemoryStream asciiOut;
    ascii.SaveToStream(asciiOut);
    TBUPcx pcx8, pcx24;
    pcx8.Assign(&indexed);
    pcx24.Assign(&colour);
    TMemoryStream pcx8Out, pcx24Out;
    pcx8.SaveToStream(pcx8Out);
    pcx24.SaveToStream(pcx24Out);
    const auto decodePcx = [](const std::vector<uint8_t>& bytes) { test::Decode<TBUPcx>(bytes); };
    return {format<TBitmap>("BMP", colour),
            format<TTGABitmap>("TGA", colour),
            format<TPPMBitmap>("PPM", colour),
            {"PPM", asciiOut.TakeBytes(), [](const std::vector<uint8_t>& b) { test::Decode<TPPMBitmap>(b); }, false},
            format<TM8Bitmap>("M8", indexed),
            {"PCX", pcx8Out.TakeBytes(), decodePcx},
            {"PCX", pcx24Out.TakeBytes(), decodePcx},
            format<TWZ1Bitmap>("WZ1", indexed),
            format<TWZ2Bitmap>("WZ2", indexed),
            format<TZBitmap>("BMZ", colour),
            format<TJPEGImage>("JPEG", colour)};
}

std::string errorOf(const Format& f, size_t length) {
    try {
        f.decode(std::vector<uint8_t>(f.file.begin(), f.file.begin() + long(length)));
    } catch (const EGrottixError& error) {
        return error.what();
    }
    return "decoded";
}

TEST(DamagedImages, EveryFormatCutOrEmptiedFailsAndCutsSayTheFileEndsEarly) {
    for (const Format& f : formats()) {
        ASSERT_EQ(errorOf(f, f.file.size()), "decoded") << f.name;
        EXPECT_NE(errorOf(f, 0), "decoded") << f.name << " emptied";
        EXPECT_NE(errorOf(f, f.file.size() / 4), "decoded") << f.name;
        for (size_t length : {f.file.size() / 2, f.file.size() * 3 / 4, f.lastByteIsData ? f.file.size() - 1 : f.file.size() / 3}) {
            const std::string error = errorOf(f, length);
            EXPECT_EQ(error.rfind(std::string(f.name) + " image ends early in ", 0), 0u) << f.name << " cut at " << length << ": " << error;
        }
    }
}

}  // namespace
}  // namespace grottix
