// The --render command on the demo level: where it puts the eye (at the start or by go-to), the items
// it draws and hides.

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "app/cli/CommandLine.h"
#include "app/cli/RenderCommand.h"
#include "level/LevelGoTo.h"
#include "level/LevelSpace.h"
#include "level/TombRaiderLevel.h"
#include "support/TempDir.h"
#include "viewer/HeadlessViewer.h"

namespace grottix {
namespace {

std::string render(const std::vector<std::string>& extra, const std::string& out) {
    std::vector<std::string> args = {out, std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr2.tr2", "--size", "80x60", "--stats"};
    args.insert(args.end(), extra.begin(), extra.end());
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunRenderCommand(args), 0);
    return testing::internal::GetCapturedStdout();
}

TEST(RenderCommand, StatsTellWhereTheStartPutTheEyeAndHowManyItemsWereDrawn) {
    test::TempDir dir;
    const std::string stats = render({}, dir.file("items.png"));
    EXPECT_NE(stats.find("eye: 0.000, -24.000, 0.000\nroom: 0\nitems: 2\n"), std::string::npos) << stats;
    const std::string hidden = render({"--no-items"}, dir.file("none.png"));
    EXPECT_NE(hidden.find("items: 0\n"), std::string::npos) << hidden;
    EXPECT_NE(QImage(QString::fromStdString(dir.file("items.png"))), QImage(QString::fromStdString(dir.file("none.png"))))
        << "the statue and the pick-up stand in view";
}

TEST(RenderCommand, FlipShowsTheAlternateRoomsInsteadOfTheirPrimaries) {
    test::TempDir dir;
    // From inside the demo's storeroom, whose flooded alternate replaces it when flipped.
    const std::vector<std::string> view = {"--eye", "36,-20,0", "--angles", "0,1.2,0"};
    std::vector<std::string> flipped = view;
    flipped.push_back("--flip");
    const std::string stats = render(flipped, dir.file("flipped.png"));
    EXPECT_NE(stats.find("rooms shown: 4\n"), std::string::npos) << stats;
    render(view, dir.file("dry.png"));
    std::vector<std::string> otherGroup = view;
    otherGroup.insert(otherGroup.end(), {"--flip", "3"});
    render(otherGroup, dir.file("group3.png"));
    const QImage dry(QString::fromStdString(dir.file("dry.png")));
    EXPECT_NE(QImage(QString::fromStdString(dir.file("flipped.png"))), dry);
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("group3.png"))), dry) << "the level has no group 3";
}

TEST(RenderCommand, StatsCountTheRoomsDrawnAndNoCullDrawsEveryRoomForTheSamePicture) {
    test::TempDir dir;
    const std::string culled = render({}, dir.file("culled.png"));
    EXPECT_NE(culled.find("rooms drawn: 3\n"), std::string::npos) << "the storeroom is out of sight: " << culled;
    const std::string all = render({"--no-cull"}, dir.file("all.png"));
    EXPECT_NE(all.find("rooms drawn: 4\n"), std::string::npos) << all;
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("culled.png"))), QImage(QString::fromStdString(dir.file("all.png"))));
}

TEST(RenderCommand, GoToPutsTheEyeWhereTheWindowsGoToDoesAndStatsTellIt) {
    test::TempDir dir;
    TTombRaiderLevel level;
    ASSERT_EQ(level.LoadLevel(std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr2.tr2"), 0);
    THeadlessViewer viewer(8, 8, 1);
    ASSERT_EQ(viewer.Open(std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr2.tr2"), 0);
    // An item is framed by the box around what is drawn of it.
    const TEyePlacement item = GoToItem(level, 1, viewer.Scene.ItemExtent(1));
    for (const auto& [option, value, eye] : {std::tuple{"--goto-item", "1", item}, {"--goto-room", "2", GoToRoom(level, 2)},
                                              {"--goto-square", "0,2,3", GoToSquare(level, 0, 2, 3)}}) {
        const std::string stats = render({option, value}, dir.file("goto.png"));
        char expected[128];
        std::snprintf(expected, sizeof expected, "eye: %.3f, %.3f, %.3f\nroom: %d\n", eye.x / 128, -eye.y / 128, eye.z / 128, eye.room);
        EXPECT_NE(stats.find(expected), std::string::npos) << stats;
        std::snprintf(expected, sizeof expected, "angles: %.3f, %.3f, 0.000\n", 0.0 - eye.pitch, eye.yaw);
        EXPECT_NE(stats.find(expected), std::string::npos) << stats;
    }
    // The flooded storeroom, hidden at the start, is flipped in, as the window's go to does; --flip rules.
    const std::string flooded = std::to_string(level.Rooms.size() - 1);
    render({"--goto-room", flooded}, dir.file("flooded.png"));
    render({"--goto-room", flooded, "--flip"}, dir.file("flipped.png"));
    render({"--goto-room", flooded, "--flip", "3"}, dir.file("dry.png"));
    const QImage shown(QString::fromStdString(dir.file("flooded.png")));
    EXPECT_EQ(shown, QImage(QString::fromStdString(dir.file("flipped.png"))));
    EXPECT_NE(shown, QImage(QString::fromStdString(dir.file("dry.png"))));
    for (const auto& [option, value, message] :
         {std::tuple{"--goto-item", "3", "the level has 3 items; there is no item 3"},
          {"--goto-square", "0,9,0", "room 0 is 6 by 6 squares; there is no square 9,0"}}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunRenderCommand({dir.file("none.png"), std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr2.tr2", option, value}), 1);
        EXPECT_NE(testing::internal::GetCapturedStderr().find(message), std::string::npos);
    }
}

TEST(RenderCommand, StatsTellTheEyeAnglesAndRoomTheFrameWasDrawnWith) {
    test::TempDir dir;
    TTombRaiderLevel level;
    ASSERT_EQ(level.LoadLevel(std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr2.tr2"), 0);
    const std::string stats = render({"--eye", "36,-20,0", "--angles", "0,1.2,0"}, dir.file("eye.png"));
    const int room = RoomHoldingPoint(level, {}, 36 * 128, 20 * 128, 0);
    EXPECT_GT(room, 0) << "the storeroom, not the start's room";
    EXPECT_NE(stats.find("eye: 36.000, -20.000, 0.000\nroom: " + std::to_string(room) + "\n"), std::string::npos) << stats;
    EXPECT_NE(stats.find("angles: 0.000, 1.200, 0.000\n"), std::string::npos) << stats;
}

// Every number is checked before use: a value out of range, not finite or past what its type holds is
// refused with a line naming the limit; a huge but finite angle is brought into one turn.
TEST(RenderCommand, NumbersBeyondTheirLimitsAreRefusedAndHugeAnglesStillDraw) {
    test::TempDir dir;
    const std::string level = std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr2.tr2", out = dir.file("out.png");
    const std::string size = "--size takes WxH, each side from 1 to 8192, at most 16777216 pixels";
    const std::string eye = "--eye takes X,Y,Z, numbers from -16777216 to 16777216";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--render", out, level, "--size", "4294967297x1"}, size},
        {{"--render", out, level, "--size", "4294967936x480"}, size},
        {{"--render", out, level, "--size", "8192x8192"}, size},
        {{"--render", out, level, "--eye", "nan,0,0"}, eye},
        {{"--render", out, level, "--eye", "0,-inf,0"}, eye},
        {{"--render", out, level, "--eye", "0,0,1e30"}, eye},
        {{"--render", out, level, "--angles", "0,inf,0"}, "--angles takes PITCH,YAW,ROLL, finite numbers (radians)"},
        {{"--render", out, level, "--light", "nan"}, "--light takes a number from 0 to 1"},
        {{"--render", out, level, "--frames", "4294967296"}, "--frames takes a whole number from 0 to 10000"},
        {{"--render", out, level, "--flip", "256"}, "--flip takes a group from 0 to 255"},
        {{"--render", out, level, "--time", "nan"}, "--time takes seconds, a number from 0 to 86400"},
        {{"--render", out, level, "--time", "-0.5"}, "--time takes seconds, a number from 0 to 86400"},
        {{"--render", out, level, "--goto-item", "4294967296"}, "--goto-item takes an item from 0 to 2147483647"},
        {{"--render", out, level, "--goto-square", "0,65536,0"},
         "--goto-square takes ROOM,X,Z: a room from 0 to 2147483647, a column and a row from 0 to 65535"},
        {{"--export-gltf", level, dir.file("out.glb"), "--light", "1e400"}, "--light takes a number from 0 to 1"},
        {{"--thumbnail", level, out, "4294967297"}, "--thumbnail takes a SIZE from 1 to 4096"},
    };
    for (const auto& [args, message] : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunCommandLine(args), 2) << args[3];
        EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("grottix-viewer: " + message + "\n", 0), 0u) << args[3];
    }
    EXPECT_FALSE(std::filesystem::exists(out));

    const std::string stats = render({"--angles", "1e30,-1e30,3e38"}, out);
    float pitch = 9, yaw = 9, roll = 9;
    ASSERT_EQ(std::sscanf(stats.c_str() + stats.find("\nangles: "), "\nangles: %f, %f, %f", &pitch, &yaw, &roll), 3) << stats;
    for (const float angle : {pitch, yaw, roll}) EXPECT_LE(std::abs(angle), 3.1416f) << stats;
}

}  // namespace
}  // namespace grottix
