// Items of every version: moveables placed through their mesh tree and first frame, a sprite
// sequence item, entities whose tables do not hold what they name, and an animated texture range.

#include <gtest/gtest.h>

#include "engine/Polygon.h"
#include "engine/Scene.h"
#include "engine/StubObject.h"
#include "import/LevelImport.h"
#include "level_writer/LevelWriter.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using namespace levelwriter;

// A mesh of four vertices, (0,0,0) (64,0,0) (64,0,64) (0,0,64), and one rectangle with object
// texture 2, in the mesh data layout of the code (28 words).
std::vector<uint16_t> squareMesh(int code) {
    std::vector<uint16_t> words = {0, 0, 0, 0, 0, 4, 0, 0, 0, 64, 0, 0, 64, 0, 64, 0, 0, 64, 0, 1, 0, 1, 2, 3, 2};
    if (code >= 6) words.push_back(0);  // effects
    words.push_back(0);                  // no triangles
    if (code <= 5) words.insert(words.end(), {0, 0});
    if (words.size() % 2) words.push_back(0);
    return words;
}

// A rotation of a quarter turn about y, as each version packs it; then one of none about any axis.
std::vector<uint16_t> quarterTurnY(int code) {
    if (code <= 2) return {0x0000, 0x0004};  // a little-endian 32-bit value: y in bits 10-19
    return {uint16_t(code >= 6 ? 0x8000 | 1024 : 0x8000 | 256)};  // y alone, 12 or 10 bits a turn
}
std::vector<uint16_t> threeAxisQuarterTurnY(int code) {
    return code <= 2 ? std::vector<uint16_t>{0x0000, 0x0004} : std::vector<uint16_t>{0x0004, 0x0000};
}
const std::vector<uint16_t> kNoTurn = {0, 0};

std::vector<uint16_t> frame(int code, std::array<int16_t, 3> offset, const std::vector<std::vector<uint16_t>>& rotations) {
    std::vector<uint16_t> words(6, 0);  // bounding box
    for (int16_t c : offset) words.push_back(uint16_t(c));
    if (code <= 2) words.push_back(uint16_t(rotations.size()));
    for (const auto& r : rotations) words.insert(words.end(), r.begin(), r.end());
    return words;
}

// Moveable 10: four meshes, 1 and 2 stacked up from 0 (0 pushed), 3 beside 0 (popped), through
// animation 0 with mesh 0 and mesh 2 turned a quarter about y. Moveable 11: one mesh, its own
// frame. Moveables 12-14 name a tree, an animation and mesh pointers beyond their tables.
LevelDescription itemLevel(int code) {
    LevelDescription level;
    level.code = code;
    level.tileCount = 1;
    Room room;
    room.xSectors = room.zSectors = 8;
    room.yBottom = 4096;
    room.yTop = -4096;
    if (code == 7) {
        room.layers = {{{{0, 0, 0}, {1024, 0, 0}, {1024, 0, 1024}, {0, 0, 1024}}, {{{0, 1, 2, 3}, 0}}, {}}};
    } else {
        room.vertices = {{0, 0, 0}, {1024, 0, 0}, {1024, 0, 1024}, {0, 0, 1024}};
        room.rectangles = {{{0, 1, 2, 3}, 0}};
    }
    level.rooms = {room};
    ObjectTexture a, b, c;
    a.u = {0, 64, 64, 0};
    b.u = {128, 192, 192, 128};
    c.u = {8, 8, 8, 8};
    level.objectTextures = {a, b, c};
    level.animatedTextures = std::vector<uint16_t>{1, 1, 0, 1};  // one range: textures 0 and 1
    level.meshData = squareMesh(code);
    level.meshPointers = {0, 0, 0, 0};
    level.meshTrees = std::vector<int32_t>{2, 0, -256, 0, 0, 0, -256, 0, 1, 128, 0, 0};
    auto frames = frame(code, {10, 20, 30}, {quarterTurnY(code), kNoTurn, threeAxisQuarterTurnY(code), kNoTurn});
    const auto second = uint32_t(frames.size() * 2);
    const auto more = frame(code, {0, 0, 0}, {kNoTurn});
    frames.insert(frames.end(), more.begin(), more.end());
    level.frames = frames;
    level.animationFrameOffsets = std::vector<uint32_t>{0};
    level.moveables = std::vector<Moveable>{{10, 4, 0, 0, 0, 0},       {11, 1, 0, 0, second, 0xFFFF},
                                            {12, 4, 0, 100, 0, 0},     {13, 1, 0, 0, 0, 5},
                                            {14, 2, 3, 0, second, 0xFFFF}};
    // 16 x 16 texels, 128 level units wide and high in either layout.
    if (code >= 6) level.spriteTextures = std::vector<SpriteTexture>{{0, 0, 0, 0x0FFF, 0x0FFF, 0, 0, 15, 15}};
    else level.spriteTextures = std::vector<SpriteTexture>{{0, 0, 0, 0x0FFF, 0x0FFF, -64, -128, 64, 0}};
    level.spriteSequences = std::vector<SpriteSequence>{{20, 1, 0}};
    level.entities = std::vector<Entity>{{0, 0, 512, 0, 512, 0},        {10, 0, 1000, 2000, 3000, 0}, {11, 0, 5000, 0, 5000, 16384},
                                         {20, 0, 700, 100, 900, 0},     {12, 0, 0, 0, 0, 0},          {13, 0, 0, 0, 0, 0},
                                         {14, 0, 0, 0, 0, 0},           {99, 0, 0, 0, 0, 0}};
    return level;
}

class ItemImportTest : public ::testing::TestWithParam<std::pair<int, const char*>> {
protected:
    void SetUp() override {
        const auto& [code, name] = GetParam();
        path = dir.file(name);
        WriteLevelFile(itemLevel(code), path);
        ASSERT_EQ(ImportTombRaiderMap(scene, path, 1, 0, &report), 0);
    }
    std::vector<TD3DPolygon*> polygonsWithID(int32_t id) {
        std::vector<TD3DPolygon*> found;
        for (auto& entry : scene.Objects)
            if (auto* polygon = dynamic_cast<TD3DPolygon*>(entry.Item.get()); polygon && polygon->GetID() == id) found.push_back(polygon);
        return found;
    }

    test::TempDir dir;
    std::string path;
    TD3DScene scene{nullptr};
    TImportReport report;
};

void expectAt(const TD3DLVertex& v, double x, double y, double z, const char* what) {
    EXPECT_NEAR(v.x, x, 1e-3) << what;
    EXPECT_NEAR(v.y, -y, 1e-3) << what;
    EXPECT_NEAR(v.z, z, 1e-3) << what;
}

TEST_P(ItemImportTest, MeshesLandWhereTheTreeAndTheFirstFramePutThem) {
    EXPECT_EQ(report.Items, 3) << "moveables 10 and 11 and the sprite item; not the player, 12-14 or type 99";
    const auto items = polygonsWithID(report.ItemsID);
    ASSERT_EQ(items.size(), 1u);
    const auto& v = items[0]->LitVertices;
    ASSERT_EQ(v.size(), 5u * 6) << "four meshes of moveable 10, one of 11";
    // Vertex 0 of each face is mesh corner (0,0,0), vertex 1 corner (64,0,0). Moveable 10 stands at
    // (1000, 2000, 3000) facing +z, its root 10, 20, 30 further on and turned a quarter about y.
    expectAt(v[0], 1010, 2020, 3030, "mesh 0");
    expectAt(v[1], 1010, 2020, 2966, "mesh 0 turned: +x goes to -z");
    expectAt(v[6], 1010, 1764, 3030, "mesh 1, 256 up from mesh 0");
    expectAt(v[7], 1010, 1764, 2966, "mesh 1 inherits the turn");
    expectAt(v[12], 1010, 1508, 3030, "mesh 2, 256 up from mesh 1");
    expectAt(v[13], 946, 1508, 3030, "mesh 2 turned once more");
    expectAt(v[18], 1010, 2020, 2902, "mesh 3, 128 along mesh 0's x after the pop");
    expectAt(v[25], 5000, 0, 4936, "moveable 11 faces +x: its +x goes to -z");
}

TEST_P(ItemImportTest, SpriteSequenceItemsAreBillboardsOfTheirFirstPicture) {
    int found = 0;
    for (const auto& [name, stub] : scene.Stubs) {
        if (stub->Info.ID != report.ItemsID) continue;
        ++found;
        EXPECT_EQ(stub->Info.X, 700);
        EXPECT_EQ(stub->Info.Y, -(100 - 64)) << "standing on the entity's point";
        EXPECT_EQ(stub->Info.Width, 128);
        EXPECT_FLOAT_EQ(stub->Info.TexWidth, 15 / 256.0f) << "half a texel inside the picture on each side";
    }
    EXPECT_EQ(found, 1);
}

TEST_P(ItemImportTest, TheAnimatedRangeCyclesOverTime) {
    ASSERT_FALSE(report.Animator->Empty());
    TD3DPolygon* floor = nullptr;
    for (auto& entry : scene.Objects)
        if (auto* polygon = dynamic_cast<TD3DPolygon*>(entry.Item.get()); polygon && polygon->KeepApart && polygon->GetID() != report.ItemsID)
            floor = polygon;
    ASSERT_NE(floor, nullptr) << "the floor's texture cycles, so it has a polygon of its own";
    EXPECT_EQ(report.Animator->SecondsToNextStep(10), 0) << "due at once before the first frame";
    report.Animator->Advance(scene, 10);
    EXPECT_NEAR(report.Animator->SecondsToNextStep(10.1), 1 / 6.0 - 0.1, 1e-9) << "the window sleeps until the next step";
    // Half a texel inside each texture, as every face's coordinates are.
    EXPECT_FLOAT_EQ(floor->LitVertices[1].tu, 63.5f / 256) << "the first frame drawn shows the stored texture";
    report.Animator->Advance(scene, 10.2);
    EXPECT_FLOAT_EQ(floor->LitVertices[1].tu, 191.5f / 256) << "one step on: texture 1";
    report.Animator->Advance(scene, 10.4);
    EXPECT_FLOAT_EQ(floor->LitVertices[1].tu, 63.5f / 256) << "two steps on: texture 0 again";
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, ItemImportTest,
                         ::testing::Values(std::pair{1, "items.phd"}, std::pair{3, "items.tr2"}, std::pair{5, "items3.tr2"},
                                           std::pair{6, "items.tr4"}, std::pair{7, "items.trc"}),
                         [](const auto& info) { return "Code" + std::to_string(info.param.first); });

}  // namespace
}  // namespace grottix
