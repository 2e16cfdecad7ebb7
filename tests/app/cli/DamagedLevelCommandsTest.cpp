#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <stdio_ext.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "app/cli/CommandLine.h"
#include "level_writer/LevelWriter.h"
#include "storage/Stream.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using namespace levelwriter;

struct Outcome {
    int code;
    std::string out, err;
};

Outcome run(const std::vector<std::string>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = RunCommandLine(args);
    std::string out = testing::internal::GetCapturedStdout();
    return {code, out, testing::internal::GetCapturedStderr()};
}

LevelDescription twoRoomLevel() {
    LevelDescription level;
    level.code = 3;
    level.tileCount = 2;
    Room room;
    room.vertices.resize(4);
    room.rectangles = {{{0, 1, 2, 3}, 0}};
    level.rooms = {room, room};
    return level;
}

// The level cut a few bytes into the first mark that matches.
template <typename Match>
std::string writeCut(const LevelDescription& description, const std::string& path, Match match) {
    std::vector<SectionMark> marks;
    auto bytes = WriteLevel(description, marks);
    const auto mark = std::find_if(marks.begin(), marks.end(), match);
    bytes.resize(mark->offset + 5);
    WriteFileAtomically(path, bytes.data(), bytes.size());
    return path;
}

// Everything in a folder, with contents.
std::vector<std::pair<std::string, std::vector<uint8_t>>> contents(const std::string& folder) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.emplace_back(entry.path().filename().string(), entry.is_regular_file() ? ReadWholeFile(entry.path().string())
                                                                                     : std::vector<uint8_t>{});
    std::sort(files.begin(), files.end());
    return files;
}

void expectOneLine(const Outcome& outcome, const std::string& start, const std::string& what) {
    EXPECT_EQ(outcome.code, 1) << what;
    EXPECT_EQ(outcome.err.rfind(start, 0), 0u) << what << ": " << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << what << ": " << outcome.err;
}

class DamagedLevelCommands : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(tiles);
        WriteFileAtomically(tiles + "/tile001.bmp", "good", 4);
        before = contents(tiles);
    }
    test::TempDir dir;
    std::string tiles = dir.file("tiles");
    std::vector<std::pair<std::string, std::vector<uint8_t>>> before;
};

TEST_F(DamagedLevelCommands, EveryCommandFailsWithOneLineNamingTheFileAndWhereItEndsAndWritesNothing) {
    const std::string level = writeCut(twoRoomLevel(), dir.file("cut.tr2"), [](const SectionMark& m) { return m.room == 1; });
    const std::string said = "File " + level + ": Damaged file: the data ends early in the rooms (room 1) at byte ";
    const Outcome info = run({"--info", level});
    expectOneLine(info, said, "--info");
    EXPECT_EQ(info.out, "");
    expectOneLine(run({"--info", level, "--json"}), said, "--info --json");
    expectOneLine(run({"--render", dir.file("view.png"), level}), said, "--render");
    EXPECT_FALSE(FileExists(dir.file("view.png")));
    expectOneLine(run({"--thumbnail", level, dir.file("thumb.png"), "128"}), said, "--thumbnail");
    EXPECT_FALSE(FileExists(dir.file("thumb.png")));
    expectOneLine(run({"--export-gltf", level, dir.file("level.glb")}), said, "--export-gltf");
    EXPECT_FALSE(FileExists(dir.file("level.glb")));
    expectOneLine(run({"--export-textures", level, tiles}), said, "--export-textures");
    EXPECT_EQ(contents(tiles), before);
    expectOneLine(run({"--export-textures", level, dir.file("new/tiles")}), said, "--export-textures to a new folder");
    EXPECT_FALSE(std::filesystem::exists(dir.file("new")));
}

TEST_F(DamagedLevelCommands, ALevelCutInsideItsTilesLeavesTheExportedTilesAsTheyWere) {
    const std::string level = writeCut(twoRoomLevel(), dir.file("tiles.tr2"), [](const SectionMark& m) { return m.tile == 1; });
    expectOneLine(run({"--export-textures", level, tiles}),
                  "File " + level + ": Damaged file: the data ends early in the 8-bit texture tiles (tile 1) at byte ", "tile 1");
    EXPECT_EQ(contents(tiles), before);
}

TEST_F(DamagedLevelCommands, AnExportThatCannotWriteEveryTileWritesNone) {
    const std::string level = dir.file("good.tr2");
    WriteLevelFile(twoRoomLevel(), level);
    std::filesystem::create_directory(tiles + "/tile002.bmp");
    before = contents(tiles);
    expectOneLine(run({"--export-textures", level, tiles}), "File " + tiles + "/tile002.bmp: Is a directory", "a tile that is a folder");
    EXPECT_EQ(contents(tiles), before) << "no tile replaced, nothing left beside them";
    ASSERT_EQ(run({"--export-textures", level, dir.file("fresh")}).code, 0);
    EXPECT_EQ(contents(dir.file("fresh")).size(), 2u);
}

// Sets or clears a file's immutable flag; false where the file system or the user's rights do not allow it.
bool setImmutable(const std::string& path, bool immutable) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

TEST_F(DamagedLevelCommands, AnImmutableTileLeavesTheTilesBeforeItAsTheyWere) {
    const std::string level = dir.file("good.tr2");
    WriteLevelFile(twoRoomLevel(), level);
    const std::string stuck = tiles + "/tile002.bmp";
    WriteFileAtomically(stuck, "old", 3);
    before = contents(tiles);
    if (!setImmutable(stuck, true)) GTEST_SKIP() << "no immutable files here";
    const Outcome outcome = run({"--export-textures", level, tiles});
    setImmutable(stuck, false);
    expectOneLine(outcome, "File " + stuck + ": Operation not permitted", "an immutable tile");
    EXPECT_EQ(contents(tiles), before) << "tile001 put back, nothing left beside the tiles";
}

TEST_F(DamagedLevelCommands, EveryOutputThatCannotBeWrittenIsNamedInTheUsualForm) {
    const std::string level = dir.file("good.tr2");
    WriteLevelFile(twoRoomLevel(), level);
    ASSERT_EQ(run({"--export-textures", level, dir.file("fresh")}).code, 0);
    const std::string picture = dir.file("fresh/tile001.bmp");
    const std::string taken = dir.file("taken.png"), glb = dir.file("taken.glb");
    std::filesystem::create_directory(taken);
    std::filesystem::create_directory(glb);
    const auto says = [](const std::string& file, const std::string& reason) { return "File " + file + ": " + reason + "\n"; };
    EXPECT_EQ(run({"--convert", picture, taken}).err, says(taken, "Is a directory"));
    EXPECT_EQ(run({"--convert", picture, dir.file("x.xyz")}).err, says(dir.file("x.xyz"), "Can not determine file type!"));
    EXPECT_EQ(run({"--convert", picture, dir.file("none/x.png")}).err, says(dir.file("none/x.png"), "No such file or directory"));
    EXPECT_EQ(run({"--render", taken, level, "--size", "32x24"}).err, says(taken, "Is a directory"));
    EXPECT_EQ(run({"--thumbnail", level, taken, "32"}).err, says(taken, "Is a directory"));
    EXPECT_EQ(run({"--export-gltf", level, glb}).err, says(glb, "Is a directory"));
    expectOneLine(run({"--export-textures", level, picture}), "File " + picture + ": ", "a folder that is a file");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
        EXPECT_FALSE(entry.path().string().ends_with("~")) << entry.path();
}

// The reason is the system's, whatever the command; a picture type without a reader says so.
TEST_F(DamagedLevelCommands, AnInputThatCannotBeReadIsNamedWithTheSystemsReasonByEveryCommand) {
    const std::string none = dir.file("none.tr2"), folder = dir.file("folder.tr2"), out = dir.file("out.png");
    std::filesystem::create_directory(folder);
    for (const auto& [input, reason] : {std::pair{none, "No such file or directory"}, {folder, "Is a directory"}}) {
        const std::string said = "File " + input + ": " + reason + "\n";
        for (const auto& args : std::vector<std::vector<std::string>>{{"--info", input, "--json"},
                                                                      {"--render", out, input},
                                                                      {"--thumbnail", input, out, "64"},
                                                                      {"--export-gltf", input, dir.file("out.glb")},
                                                                      {"--export-textures", input, tiles},
                                                                      {"--convert", input, out}}) {
            const Outcome outcome = run(args);
            EXPECT_EQ(outcome.code, 1) << args[0];
            EXPECT_EQ(outcome.err, said) << args[0];
        }
    }
    WriteFileAtomically(dir.file("in.png"), "\x89PNG", 4);
    EXPECT_EQ(run({"--convert", dir.file("in.png"), dir.file("out.bmp")}).err,
              "File " + dir.file("in.png") + ": Unknown image type: .png pictures are written, not read\n");
    EXPECT_EQ(contents(tiles), before);
    EXPECT_FALSE(FileExists(out));
}

// Standard output on a full device: the summary cannot be written whole, and the command says so,
// whether the write fails at the end or (with many items) on the way.
TEST_F(DamagedLevelCommands, OutputThatCannotBeWrittenWholeIsAFailure) {
    const std::string level = dir.file("good.tr2");
    auto description = twoRoomLevel();
    description.entities = std::vector<Entity>(3000);
    WriteLevelFile(description, level);
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    if (full < 0) GTEST_SKIP() << "no /dev/full here";
    for (const bool json : {false, true}) {
        std::fflush(stdout);
        const int saved = ::dup(STDOUT_FILENO);
        ::dup2(full, STDOUT_FILENO);
        testing::internal::CaptureStderr();
        const int code = RunCommandLine(json ? std::vector<std::string>{"--info", level, "--json"} : std::vector<std::string>{"--info", level});
        const std::string err = testing::internal::GetCapturedStderr();
        __fpurge(stdout);
        ::dup2(saved, STDOUT_FILENO);
        ::close(saved);
        EXPECT_EQ(code, 1);
        EXPECT_EQ(err, "grottix-viewer: standard output could not be written whole: No space left on device\n");
    }
    ::close(full);
}

TEST_F(DamagedLevelCommands, LevelsBeyondTheLimitsAndOverlappingRoomsAreOneLineToo) {
    auto many = twoRoomLevel();
    many.rooms.resize(5000);
    WriteLevelFile(many, dir.file("many.tr2"));
    expectOneLine(run({"--info", dir.file("many.tr2")}),
                  "File " + dir.file("many.tr2") + ": File too large: 5000 rooms, more than the 4096 this program reads", "rooms");

    LevelDescription layered;
    layered.code = 7;
    Room room;
    room.layers.resize(1);
    room.layers[0].vertices.resize(3);
    room.layers[0].triangles = {{{0, 1, 2}, 0}};
    room.dataSize = 216;
    layered.rooms.assign(100, room);
    WriteLevelFile(layered, dir.file("overlap.trc"));
    expectOneLine(run({"--info", dir.file("overlap.trc")}),
                  "File " + dir.file("overlap.trc") + ": Damaged file: the room's tables run past its data size of 216 bytes "
                  "in the rooms (room 0) at byte ", "overlapping rooms");
}

}  // namespace
}  // namespace grottix
