// The --render command on the demo level: where it puts the eye, the items it draws and hides.

#include <gtest/gtest.h>

#include <QImage>

#include "app/RenderCommand.h"
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

TEST(RenderCommand, StatsCountTheRoomsDrawnAndNoCullDrawsEveryRoomForTheSamePicture) {
    test::TempDir dir;
    const std::string culled = render({}, dir.file("culled.png"));
    EXPECT_NE(culled.find("rooms drawn: 3\n"), std::string::npos) << "the storeroom is out of sight: " << culled;
    const std::string all = render({"--no-cull"}, dir.file("all.png"));
    EXPECT_NE(all.find("rooms drawn: 4\n"), std::string::npos) << all;
    EXPECT_EQ(QImage(QString::fromStdString(dir.file("culled.png"))), QImage(QString::fromStdString(dir.file("all.png"))));
}

}  // namespace
}  // namespace grottix
