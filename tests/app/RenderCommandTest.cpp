// The --render command on the demo level: where it puts the eye (at the start or by go-to), the items
// it draws and hides.

#include <gtest/gtest.h>

#include <QImage>

#include <cstdio>
#include <utility>

#include "app/RenderCommand.h"
#include "level/LevelGoTo.h"
#include "level/TombRaiderLevel.h"
#include "support/TempDir.h"

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

TEST(RenderCommand, GoToPutsTheEyeWhereTheWindowsGoToDoesAndStatsTellIt) {
    test::TempDir dir;
    TTombRaiderLevel level;
    ASSERT_EQ(level.LoadLevel(std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr2.tr2"), 0);
    for (const auto& [option, eye] : {std::pair{"--goto-item", GoToItem(level, 1)}, {"--goto-room", GoToRoom(level, 2)}}) {
        const std::string stats = render({option, option == std::string("--goto-item") ? "1" : "2"}, dir.file("goto.png"));
        char expected[128];
        std::snprintf(expected, sizeof expected, "eye: %.3f, %.3f, %.3f\nroom: %d\n", eye.x / 128, -eye.y / 128, eye.z / 128, eye.room);
        EXPECT_NE(stats.find(expected), std::string::npos) << stats;
        std::snprintf(expected, sizeof expected, "angles: %.3f, %.3f, 0.000\n", 0.0 - eye.pitch, eye.yaw);
        EXPECT_NE(stats.find(expected), std::string::npos) << stats;
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunRenderCommand({dir.file("none.png"), std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr2.tr2", "--goto-item", "3"}), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("the level has 3 items; there is no item 3"), std::string::npos);
}

}  // namespace
}  // namespace grottix
