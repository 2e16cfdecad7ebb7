// Writes the seeds of the codec and WAD fuzz targets: small valid files of every format, one folder
// per target, under the folder given as the only argument.
#include <filesystem>
#include <string>

#include "codecs/BUPcx.h"
#include "codecs/Jpeg.h"
#include "codecs/xM8.h"
#include "codecs/xPPM.h"
#include "codecs/xTGA.h"
#include "codecs/xWZ.h"
#include "codecs/zBitmap.h"
#include "storage/Wad.h"

namespace {

using namespace grottix;

TBitmap colourImage(int width, int height) {
    TBitmap image(width, height, TPixelFormat::pf24bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.SetPixel(x, y, RGB(uint8_t(x * 30), uint8_t(y * 50), uint8_t(x * y * 9)));
    return image;
}

template <typename Codec>
void save(const std::string& folder, const std::string& name, const TBitmap& image) {
    Codec codec;
    codec.Assign(image);
    codec.SaveToFile(folder + "/" + name);
}

// A GIF of literal 9-bit codes, with the clear and end codes around them.
void saveGif(const std::string& folder, bool interlaced) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '7', 'a', 4, 0, 4, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    out.insert(out.end(), {',', 0, 0, 0, 0, 4, 0, 4, 0, uint8_t(interlaced ? 0x40 : 0), 8});
    std::vector<uint8_t> codes;
    uint32_t bits = 0;
    int count = 0;
    auto put = [&](int code) {
        bits |= uint32_t(code) << count;
        count += 9;
        while (count >= 8) {
            codes.push_back(uint8_t(bits));
            bits >>= 8;
            count -= 8;
        }
    };
    put(256);
    for (int i = 0; i < 16; ++i) put(i % 2);
    put(257);
    if (count) codes.push_back(uint8_t(bits));
    out.push_back(uint8_t(codes.size()));
    out.insert(out.end(), codes.begin(), codes.end());
    out.insert(out.end(), {0, ';'});
    WriteFileAtomically(folder + (interlaced ? "/interlaced.gif" : "/plain.gif"), out.data(), out.size());
}

void saveWads(const std::string& folder) {
    const std::string inner = folder + "/inner.wad", outer = folder + "/outer.wad";
    TMemoryStream content(std::vector<uint8_t>{'d', 'a', 't', 'a'});
    StoreStreamInWad(inner, "entry.d3d", content, TCompressionLevel::clMax);
    StoreStreamInWad(inner, "Other.bmp", content, TCompressionLevel::clNone);
    TMemoryStream innerBytes(ReadWholeFile(inner));
    StoreStreamInWad(outer, "inner.wad", innerBytes, TCompressionLevel::clDefault);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string root = argv[1];
    for (const char* folder : {"Bmp", "Tga", "Ppm", "M8", "Pcx", "Gif", "Wz1", "Wz2", "ZBitmap", "Jpeg", "Wad"})
        std::filesystem::create_directories(root + "/" + folder);
    TBitmap colour = colourImage(7, 5);
    TBitmap indexed = colour;
    indexed.SetPixelFormat(TPixelFormat::pf8bit);
    TBitmap four = indexed;
    four.SetPixelFormat(TPixelFormat::pf4bit);
    TBitmap one = indexed;
    one.SetPixelFormat(TPixelFormat::pf1bit);

    for (const TBitmap* image : {&colour, &indexed, &four, &one})
        save<TBitmap>(root + "/Bmp", "seed" + std::to_string(BitsPerPixel(image->PixelFormat())) + ".bmp", *image);
    save<TTGABitmap>(root + "/Tga", "seed.tga", colour);
    save<TPPMBitmap>(root + "/Ppm", "binary.ppm", colour);
    TPPMBitmap ascii;
    ascii.Assign(colour);
    ascii.SetASCII(true);
    ascii.SaveToFile(root + "/Ppm/ascii.ppm");
    save<TM8Bitmap>(root + "/M8", "seed.m8", colour);
    for (const TBitmap* image : {&colour, &indexed, &four, &one}) {
        TBUPcx pcx;
        pcx.Assign(image);
        pcx.SaveToFile(root + "/Pcx/seed" + std::to_string(BitsPerPixel(image->PixelFormat())) + ".pcx");
    }
    saveGif(root + "/Gif", false);
    saveGif(root + "/Gif", true);
    save<TWZ1Bitmap>(root + "/Wz1", "seed.wz1", indexed);
    save<TWZ2Bitmap>(root + "/Wz2", "seed.wz2", indexed);
    save<TZBitmap>(root + "/ZBitmap", "colour.bmz", colour);
    save<TZBitmap>(root + "/ZBitmap", "indexed.bmz", indexed);
    save<TJPEGImage>(root + "/Jpeg", "seed.jpg", colour);
    saveWads(root + "/Wad");
    return 0;
}
