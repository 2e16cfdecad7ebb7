#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "app/cli/CommandLine.h"
#include "codecs/xPPM.h"
#include "codecs/xTGA.h"
#include "level_writer/LevelWriter.h"
#include "storage/Stream.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

// A TR2 level of three tiles; every texel of tile k is opaque with red 8k, green 4, blue 2 (5-bit).
std::string writeLevel(const std::string& path) {
    levelwriter::LevelDescription level;
    level.code = 3;
    level.tileCount = 3;
    level.tiles16.resize(3 * 131072);
    for (size_t k = 0; k < 3; ++k)
        for (size_t i = 0; i < 65536; ++i) {
            const uint16_t texel = uint16_t(0x8000 | ((8 * (k + 1)) << 10) | (4 << 5) | 2);
            level.tiles16[k * 131072 + i * 2] = uint8_t(texel);
            level.tiles16[k * 131072 + i * 2 + 1] = uint8_t(texel >> 8);
        }
    levelwriter::WriteLevelFile(level, path);
    return path;
}

// Red of tile k as the tile images give it: 5-bit 8k widened to 8 bits.
uint8_t redOf(int k) { return uint8_t((8 * k << 3) | (8 * k >> 2)); }
constexpr uint8_t kGreen = (8 << 2) | (8 >> 4);  // 5-bit 4 moved to the top of 6 bits
constexpr uint8_t kBlue = (2 << 3) | (2 >> 2);

struct CommandResult {
    int code;
    std::string err;
};

CommandResult run(const std::vector<std::string>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = RunCommandLine(args);
    testing::internal::GetCapturedStdout();
    return {code, testing::internal::GetCapturedStderr()};
}

class ExportTextures : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string level = writeLevel(dir.file("level.tr2"));
    std::string out = dir.file("tiles");
};

TEST_F(ExportTextures, WritesEveryTileAsATrueColourBitmap) {
    ASSERT_EQ(run({"--export-textures", level, out}).code, 0);
    for (int k = 1; k <= 3; ++k) {
        TBitmap tile;
        tile.LoadFromFile(out + "/tile00" + std::to_string(k) + ".bmp");
        ASSERT_EQ(tile.Width(), 256);
        ASSERT_EQ(tile.Height(), 256);
        EXPECT_EQ(tile.PixelFormat(), TPixelFormat::pf24bit);
        EXPECT_EQ(tile.Pixel(17, 200), RGB(redOf(k), kGreen, kBlue)) << k;
    }
    EXPECT_FALSE(FileExists(out + "/tile004.bmp"));
}

TEST_F(ExportTextures, FormatPicksTargaPortablePixmapOrPng) {
    ASSERT_EQ(run({"--export-textures", level, out, "--format", "tga"}).code, 0);
    TTGABitmap targa;
    targa.LoadFromFile(out + "/tile002.tga");
    EXPECT_EQ(targa.Pixel(0, 0), RGB(redOf(2), kGreen, kBlue));

    ASSERT_EQ(run({"--export-textures", "--format", "PPM", level, out}).code, 0);
    TPPMBitmap pixmap;
    pixmap.LoadFromFile(out + "/tile003.ppm");
    EXPECT_EQ(pixmap.Pixel(255, 255), RGB(redOf(3), kGreen, kBlue));

    ASSERT_EQ(run({"--export-textures", level, out, "--format", "png"}).code, 0);
    const QImage png(QString::fromStdString(out + "/tile001.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.pixelColor(5, 5).red(), redOf(1));
}

TEST_F(ExportTextures, AMissingOrUnknownLevelFailsWithItsMessage) {
    const CommandResult missing = run({"--export-textures", dir.file("none.tr2"), out});
    EXPECT_NE(missing.code, 0);
    EXPECT_EQ(missing.err, "File " + dir.file("none.tr2") + ": No such file or directory\n");

    const std::vector<uint8_t> junk = {'J', 'U', 'N', 'K', 0, 0, 0, 0};
    WriteFileAtomically(dir.file("junk.tr4"), junk.data(), junk.size());
    const CommandResult unknown = run({"--export-textures", dir.file("junk.tr4"), out});
    EXPECT_NE(unknown.code, 0);
    EXPECT_EQ(unknown.err, "File " + dir.file("junk.tr4") + ": Unsupported version\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(ExportTextures, BadArgumentsPrintTheUsage) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--export-textures", level},
                                                 {"--export-textures", level, out, "--format"},
                                                 {"--export-textures", level, out, "--format", "jpg"},
                                                 {"--export-textures", level, out, "extra"}}) {
        const CommandResult bad = run(args);
        EXPECT_EQ(bad.code, 2);
        EXPECT_NE(bad.err.find("--export-textures LEVEL DIR"), std::string::npos) << bad.err;
    }
}

TEST_F(ExportTextures, AFolderThatCannotBeMadeIsAnErrorNotACrash) {
    WriteFileAtomically(dir.file("plain"), "x", 1);
    const CommandResult blocked = run({"--export-textures", level, dir.file("plain") + "/tiles"});
    EXPECT_EQ(blocked.code, 1);
    EXPECT_FALSE(blocked.err.empty());
}

}  // namespace
}  // namespace grottix
