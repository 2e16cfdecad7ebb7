// Drawing only the rooms the portals show gives the picture of drawing every room: both renderers,
// from many eyes in generated levels of rooms joined by doorways, among them eyes beside and inside
// the doorways and eyes looking down rows of them.

#include <gtest/gtest.h>

#include <numbers>
#include <random>

#include "viewer/HeadlessViewer.h"
#include "device/qt/OpenGLHeadlessDXDraw.h"
#include "device/qt/QtTestApplication.h"
#include "level_writer/RoomGrid.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using namespace levelwriter;

constexpr float kRoom = kGridRoomSize / 128.0f;  // a room's box in scene units
constexpr float kPi = std::numbers::pi_v<float>;

struct Eye {
    TD3DVector position, angles;
};

// Eyes at random inside rooms (clear of the walls), then eyes at the doorways: in the tunnel on both
// sides of the portal and on it, turned along the row and askew.
std::vector<Eye> eyes(int columns, int rows) {
    std::vector<Eye> out;
    std::mt19937 random(7);
    const auto uniform = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
    for (int i = 0; i < 30; ++i) {
        const float x = float(int(uniform(0, float(columns)))) * kRoom + uniform(3, kRoom - 3);
        const float z = float(int(uniform(0, float(rows)))) * kRoom + uniform(3, kRoom - 3);
        out.push_back({{x, uniform(1, 15), z}, {uniform(-0.6f, 0.6f), uniform(-kPi, kPi), 0}});
    }
    const float doorZ = kRoom / 2;
    for (float offset : {-1.9f, -0.6f, -0.2f, 0.0f, 0.3f, 1.5f})
        for (float yaw : {kPi / 2, kPi / 2 + 0.9f, -kPi / 2, -kPi / 2 - 0.7f, 0.0f})
            out.push_back({{kRoom + offset, 4, doorZ + 1}, {0.1f, yaw, 0}});
    for (int row = 0; row < rows; ++row) out.push_back({{2.5f, 4, float(row) * kRoom + doorZ}, {0, kPi / 2, 0}});
    out.push_back({{kRoom / 2, 4, 2.5f}, {-0.2f, 0.05f, 0}});
    return out;
}

int differingPixels(const TBitmap& a, const TBitmap& b) {
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) differing += a.Pixel(x, y) != b.Pixel(x, y);
    return differing;
}

// Random eyes inside the boxes of the rooms shown (a little clear of their sides), turned every way.
std::vector<Eye> eyesInBoxes(const TCellVisibility& cells, const std::vector<uint8_t>& shown, int count) {
    std::vector<const TCell*> boxes;
    for (size_t i = 0; i < cells.Cells.size(); ++i)
        if (i >= shown.size() || shown[i]) boxes.push_back(&cells.Cells[i]);
    std::vector<Eye> out;
    std::mt19937 random(11);
    const auto uniform = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
    for (int i = 0; i < count; ++i) {
        const TCell& cell = *boxes[size_t(i) % boxes.size()];
        out.push_back({{uniform(cell.Min.x + 0.2f, cell.Max.x - 0.2f), uniform(cell.Min.y + 0.2f, cell.Max.y - 0.2f),
                        uniform(cell.Min.z + 0.2f, cell.Max.z - 0.2f)},
                       {uniform(-0.8f, 0.8f), uniform(-kPi, kPi), 0}});
    }
    return out;
}

// Draws from every eye with and without culling; returns the rooms the culled frames drew in all.
size_t expectSamePictures(THeadlessViewer& viewer, const std::vector<Eye>& eyes, size_t rooms, const std::string& what) {
    viewer.Scene.TextureAnimator.reset();  // animated textures would step on between the two frames
    size_t drawn = 0;
    for (const Eye& eye : eyes) {
        viewer.Scene.EyePosition = eye.position;
        viewer.Scene.EyeRotation = eye.angles;
        viewer.Scene.InvalidateAll();
        viewer.Scene.CullCells = false;
        viewer.DrawFrame();
        const TBitmap all = viewer.Picture();
        EXPECT_EQ(viewer.Scene.CellsDrawnCount, rooms);
        viewer.Scene.CullCells = true;
        viewer.DrawFrame();
        drawn += viewer.Scene.CellsDrawnCount;
        EXPECT_EQ(differingPixels(viewer.Picture(), all), 0)
            << what << ": eye " << eye.position.x << ", " << eye.position.y << ", " << eye.position.z << " angles "
            << eye.angles.x << ", " << eye.angles.y;
    }
    return drawn;
}

TEST(PortalPicture, TheCpuRasterizerDrawsTheSamePictureFromFewerRooms) {
    test::TempDir dir;
    for (const auto& [code, columns, rows] : {std::tuple{6, 5, 4}, std::tuple{3, 3, 3}}) {
        const std::string path = dir.file("grid" + std::to_string(code));
        WriteLevelFile(RoomGridLevel(code, columns, rows), path);
        THeadlessViewer viewer(160, 120, 1);
        ASSERT_EQ(viewer.Open(path), 0);
        const size_t frames = eyes(columns, rows).size();
        const size_t drawn = expectSamePictures(viewer, eyes(columns, rows), size_t(columns * rows), "code " + std::to_string(code));
        EXPECT_LT(drawn, frames * size_t(columns * rows) / 2) << "culling leaves most rooms out";
    }
}

TEST(PortalPicture, OpenGLDrawsTheSamePictureFromFewerRooms) {
    test::TestApplication();
    GROTTIX_REQUIRE_OPENGL();
    test::TempDir dir;
    WriteLevelFile(RoomGridLevel(6, 5, 4), dir.file("grid.tr4"));
    THeadlessViewer viewer(std::make_unique<TOpenGLHeadlessDXDraw>(160, 120));
    ASSERT_TRUE(viewer.UsesOpenGL());
    ASSERT_EQ(viewer.Open(dir.file("grid.tr4")), 0);
    expectSamePictures(viewer, eyes(5, 4), 20, "OpenGL");
    // The demo level: rooms of different heights, an open courtyard, statics, sprites and items.
    ASSERT_EQ(viewer.Open(std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr4.tr4"), 0);
    expectSamePictures(viewer, eyesInBoxes(viewer.Scene.Visibility, viewer.Scene.RoomsShown, 24), 4, "OpenGL, demo level");
}

// Eyes that once drew too few rooms: in the storeroom, looking along the wall it shares with the
// hall, whose back faces show through it (both rooms' walls are drawn from both sides); and eyes
// closer to the hall's ceiling than the near distance, seeing through it.
const std::vector<Eye> kDemoEyes = {{{47.04f, -22.31f, 12.99f}, {0.0028f, -0.626f, 0}},
                                    {{-23.5f, -6.4f, 18.9f}, {0, -0.4f, 0}},
                                    {{-12.9f, -6.4f, 18.9f}, {0, -1.3f, 0}}};

TEST(PortalPicture, TheDemoLevelsLookTheSameFromEyesInAllTheirRooms) {
    for (const char* name : {"demo-tr1.phd", "demo-tr2.tr2", "demo-tr4.tr4", "demo-trc.trc"}) {
        THeadlessViewer viewer(160, 120, 1);
        ASSERT_EQ(viewer.Open(std::string(GROTTIX_GENERATED_DIR) + "/demo/" + name), 0);
        std::vector<Eye> eyes = eyesInBoxes(viewer.Scene.Visibility, viewer.Scene.RoomsShown, 40);
        eyes.insert(eyes.end(), kDemoEyes.begin(), kDemoEyes.end());
        expectSamePictures(viewer, eyes, 4, name);
    }
}

TEST(PortalPicture, NoCullDrawsEveryRoomAndARoomNoPortalReachesIsDrawnWithTheEyeInside) {
    test::TempDir dir;
    LevelDescription level = RoomGridLevel(6, 3, 1);
    level.rooms[0].portalList->clear();                // room 0 leads nowhere,
    level.rooms[1].portalList->erase(level.rooms[1].portalList->begin());  // and nothing leads to it
    level.rooms[1].portalList->push_back({uint16_t(40), {0, 0, 1}, {}});  // and a portal to no room
    WriteLevelFile(level, dir.file("lone.tr4"));
    THeadlessViewer viewer(160, 120, 1);
    ASSERT_EQ(viewer.Open(dir.file("lone.tr4")), 0);
    viewer.Scene.EyePosition = {kRoom / 2, 4, kRoom / 2};
    viewer.Scene.InvalidateAll();
    viewer.DrawFrame();
    EXPECT_EQ(viewer.Scene.CellsDrawn, (std::vector<uint8_t>{1, 0, 0}));
    viewer.Scene.CullCells = false;
    viewer.DrawFrame();
    EXPECT_EQ(viewer.Scene.CellsDrawnCount, 3u);
}

}  // namespace
}  // namespace grottix
