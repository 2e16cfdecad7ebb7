#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/Polygon.h"
#include "engine/Scene.h"
#include "engine/StubObject.h"
#include "import/LevelFaces.h"
#include "import/LevelImport.h"
#include "import/RoomImport.h"
#include "level/LevelMeshes.h"
#include "level/TombRaiderLevel.h"
#include "level_writer/LevelWriter.h"
#include "storage/Stream.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using namespace levelwriter;

class LevelImportTest : public ::testing::Test {
protected:
    uint8_t import(const LevelDescription& description, float scale = 1, float gamma = 0, const char* name = "level.phd") {
        path = dir.file(name);
        WriteLevelFile(description, path);
        return ImportTombRaiderMap(scene, path, scale, gamma);
    }
    std::vector<TD3DPolygon*> polygons() {
        std::vector<TD3DPolygon*> result;
        for (auto& entry : scene.Objects)
            if (entry.Item->GetKind() == kKindPolygon) result.push_back(static_cast<TD3DPolygon*>(entry.Item.get()));
        return result;
    }
    std::string tile(int n) const { return "->" + path + "::" + std::to_string(n); }

    test::TempDir dir;
    std::string path;
    TD3DScene scene{nullptr};
};

// One room with one rectangle (corners 0, 1, 2, 3) over four vertices.
LevelDescription oneRectangle(int code, std::array<int16_t, 4> lighting = {}, std::array<uint16_t, 4> colours = {}) {
    LevelDescription level;
    level.code = code;
    level.tileCount = 1;
    Room room;
    room.x = 100;
    room.z = 200;
    room.yBottom = 0;
    room.yTop = -512;
    for (int i = 0; i < 4; ++i)
        room.vertices.push_back({int16_t(i * 10), int16_t(-i), int16_t(i * 100), lighting[size_t(i)], 16, colours[size_t(i)]});
    room.rectangles = {{{0, 1, 2, 3}, 0}};
    level.rooms = {room};
    ObjectTexture texture;
    texture.u = {8, 16, 24, 32};
    texture.v = {40, 48, 56, 64};
    level.objectTextures = {texture};
    return level;
}

TEST_F(LevelImportTest, RectangleCornersArriveAsAStripWithTheirTextureCoordinates) {
    ASSERT_EQ(import(oneRectangle(1)), 0);
    const auto found = polygons();
    ASSERT_EQ(found.size(), 1u);
    const TD3DPolygon& polygon = *found[0];
    EXPECT_EQ(polygon.Info.TextureNames[0], tile(1));
    ASSERT_EQ(polygon.Count, 6);
    // Slots 0..3 hold corners 0, 1, 3, 2; the polygon stores slots 0, 1, 2, 1, 3, 2.
    const int cornerOfVertex[6] = {0, 1, 3, 1, 2, 3};
    for (int i = 0; i < 6; ++i) {
        const int corner = cornerOfVertex[i];
        const TD3DLVertex& v = polygon.LitVertices[size_t(i)];
        EXPECT_EQ(v.x, 100 + corner * 10) << i;
        EXPECT_EQ(v.y, corner) << "y is negated";
        EXPECT_EQ(v.z, 200 + corner * 100);
        // Half a texel inside the corners' middle (u 20, v 52), where linear filtering reads only
        // the face's own texels.
        const float inward = corner < 2 ? 0.5f : -0.5f;
        EXPECT_FLOAT_EQ(v.tu, (8 + 8 * corner + inward) / 256);
        EXPECT_FLOAT_EQ(v.tv, (40 + 8 * corner + inward) / 256);
    }
}

TEST_F(LevelImportTest, ClassicLightingAndGamma) {
    ASSERT_EQ(import(oneRectangle(1, {0, 0x1F00, 0x0F00, 0})), 0);
    const TD3DPolygon& polygon = *polygons()[0];
    EXPECT_EQ(polygon.LitVertices[0].color, 0x00FFFFFFu) << "lighting 0 is brightest";
    EXPECT_EQ(polygon.LitVertices[1].color, 0x00454545u) << "lighting 0x1F00 gives 69";
    EXPECT_EQ(polygon.LitVertices[4].color, 0x00A5A5A5u) << "corner 2: 16 * 6 + 69 = 165";

    scene.Reset();
    ASSERT_EQ(import(oneRectangle(1, {0, 0x1F00, 0x0F00, 0}), 1, 1), 0);
    for (const auto& v : polygons()[0]->LitVertices) EXPECT_EQ(v.color, 0x00FFFFFFu) << "gamma 1 makes every vertex white";
}

TEST_F(LevelImportTest, ColouredVerticesOfLaterVersions) {
    ASSERT_EQ(import(oneRectangle(5, {}, {0x7FFF, 0, uint16_t(31 << 10), 0}), 1, 0, "level.tr2"), 0);
    const TD3DPolygon& polygon = *polygons()[0];
    EXPECT_EQ(polygon.LitVertices[0].color, 0x00FFFFFFu);
    EXPECT_EQ(polygon.LitVertices[1].color, 0x00454545u);
    EXPECT_EQ(polygon.LitVertices[4].color, 0x00FF4545u) << "corner 2: red bits 10-14";
}

TEST_F(LevelImportTest, FacesWithMissingVerticesOrTexturesAreHandledSafely) {
    auto level = oneRectangle(3);
    level.rooms[0].rectangles.push_back({{0, 1, 2, 9}, 0});  // vertex 9 does not exist
    level.rooms[0].triangles = {{{0, 1, 2}, 77}};            // object texture 77 does not exist
    ASSERT_EQ(import(level, 1, 0, "level.tr2"), 0);
    const auto found = polygons();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]->Count, 6) << "the rectangle naming vertex 9 is skipped";
    EXPECT_EQ(found[1]->Info.TextureNames[0], "") << "an unknown texture leaves the name empty";
    EXPECT_EQ(found[1]->LitVertices[1].tu, 1) << "and gives the default coordinates";
    EXPECT_EQ(found[1]->LitVertices[2].tv, 1);
}

TEST_F(LevelImportTest, LevelWithoutRoomsRegistersTilesAndLeavesTheCamera) {
    auto level = oneRectangle(1);
    level.rooms.clear();
    level.tileCount = 2;
    scene.SetCameraPosition({5, 5, 5});
    ASSERT_EQ(import(level), 0);
    EXPECT_TRUE(scene.Objects.empty());
    EXPECT_EQ(scene.Shared->Textures.size(), 2u);
    EXPECT_EQ(scene.EyePosition, (TD3DVector{5, 5, 5}));
}

TEST_F(LevelImportTest, MissingAndUnknownFilesReturnTheirResults) {
    EXPECT_EQ(ImportTombRaiderMap(scene, dir.file("none.phd"), 128, 0.5f), 1);
    const std::vector<uint8_t> junk(100, 0x77);
    WriteFileAtomically(dir.file("junk.tr4"), junk.data(), junk.size());
    EXPECT_EQ(ImportTombRaiderMap(scene, dir.file("junk.tr4"), 128, 0.5f), 2);
    EXPECT_TRUE(scene.Objects.empty());
}

// A mesh of 4 vertices and one textured rectangle, as the mesh data of code 3 lays it out.
std::vector<uint16_t> squareMesh() {
    return {0, 0, 0, 0, 0,             // centre, radius
            4,                         // vertices
            0, 0, 0, 64, 0, 0, 64, 0, 64, 0, 0, 64,
            0,                         // no normals
            1, 0, 1, 2, 3, 0,          // one textured rectangle
            0, 0, 0};                  // no triangles, no coloured faces: 56 bytes, no pad
}

TEST_F(LevelImportTest, StaticMeshesAreTurnedAndPlacedOncePerMatchingDefinition) {
    auto level = oneRectangle(3);
    level.rooms[0].rectangles.clear();
    level.rooms[0].staticMeshes = {{1000, -2000, 3000, 16384, 5}};
    level.meshData = squareMesh();
    level.meshPointers = {0, 999};  // the second pointer starts no mesh
    level.staticMeshDefinitions = {{5, 1}, {5, 0}, {6, 0}};
    ASSERT_EQ(import(level, 1, 0, "level.tr2"), 0);
    const auto found = polygons();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->Count, 12) << "two definitions of object 5: the mesh appears twice";
    // Mesh vertex 1 (64, 0, 0), turned by 16384 / 65535 of a full turn, a hair more than 90 degrees.
    const double theta = 16384.0 / 65535.0 * 2 * std::numbers::pi;
    const TD3DLVertex& v = found[0]->LitVertices[1];
    EXPECT_NEAR(v.x, 1000 + 64 * std::cos(theta), 1e-3);
    EXPECT_NEAR(v.z, 3000 - 64 * std::sin(theta), 1e-3);
    EXPECT_EQ(v.y, 2000) << "-Y - ry";
    EXPECT_EQ(v.color, 0x00FFFFFFu);
    EXPECT_FLOAT_EQ(v.tu, 16.5f / 256) << "mesh faces use the object texture's corners, half a texel in";
}

// One mesh may be placed any number of times; the faces all placements take together are bounded.
TEST_F(LevelImportTest, PlacedMeshesBeyondTheirFaceBudgetAreLeftOutAndCounted) {
    struct TCountingSink : TFaceSink {
        void AddQuadrangle(const TD3DGenericQuadrangleInfo&, const TFaceTraits&) override { ++faces; }
        void AddTriangle(const TD3DGenericTriangleInfo&, const TFaceTraits&) override { ++faces; }
        void AddSprite(const TD3DStubObjectInfo&) override {}
        size_t faces = 0;
    } sink;
    auto description = oneRectangle(3);
    description.rooms[0].rectangles.clear();
    description.rooms[0].staticMeshes.assign(10, {0, 0, 0, 0, 5});
    description.meshData = squareMesh();
    description.meshPointers = {0};
    description.staticMeshDefinitions = {{5, 0}};
    TTombRaiderLevel level;
    ASSERT_EQ(level.LoadLevelFromBytes(WriteLevel(description), "x.tr2"), 0);
    TFaceBuilder faces(sink, level, 0);
    EXPECT_EQ(faces.MeshFaceBudget, kMaxPlacedMeshFaces);
    faces.MeshFaceBudget = 4;
    ImportRooms(faces, level, ParseLevelMeshes(level), 1);
    EXPECT_EQ(sink.faces, 4u);
    EXPECT_EQ(faces.MeshesLeftOut, 6u);
}

TEST_F(LevelImportTest, SpriteWordsNamingNoSpriteTextureOrVertexAreSkipped) {
    auto level = oneRectangle(1);
    level.spriteTextures = std::vector<SpriteTexture>{{0, 16, 0, 32 * 256 - 1, 64 * 256 - 1, -16, -64, 16, 0}};
    level.rooms[0].sprites = {{1, 0}, {0, 1}, {9, 0}};  // sprite texture 1 and vertex 9 do not exist
    ASSERT_EQ(import(level), 0);
    ASSERT_EQ(scene.Stubs.size(), 1u);
    EXPECT_EQ(scene.Stubs[0].second->Info.Passes, 16) << "colour-keyed";
}

// A room of 4 x 4 sectors from (-2048, -2048), floor at y 512 and ceiling at -2048, with a floor
// of two rectangles (the larger one at x >= -1024) and a small raised step.
LevelDescription floorRoom(int code) {
    LevelDescription level;
    level.code = code;
    level.tileCount = 1;
    Room room;
    room.x = room.z = -2048;
    room.xSectors = room.zSectors = 4;
    room.yBottom = 512;
    room.yTop = -2048;
    const auto corner = [&](int x, int y, int z) {
        room.vertices.push_back({int16_t(x + 2048), int16_t(y), int16_t(z + 2048), 0, 16, 0x7FFF});
        return uint16_t(room.vertices.size() - 1);
    };
    const auto rectangle = [&](int x0, int x1, int y, int z0, int z1) {
        room.rectangles.push_back({{corner(x0, y, z0), corner(x1, y, z0), corner(x1, y, z1), corner(x0, y, z1)}, 0});
    };
    rectangle(-2048, -1024, 512, -2048, 2048);
    rectangle(-1024, 2048, 512, -2048, 2048);
    rectangle(-1024, 2048, -2048, -2048, 2048);  // the ceiling, as large as the floor
    level.rooms = {room};
    return level;
}

TEST_F(LevelImportTest, TheEyeStartsAtThePlayerEntityFacingItsAngle) {
    for (const auto& [code, name] : {std::pair{1, "level.phd"}, std::pair{6, "level.tr4"}}) {
        auto level = floorRoom(code);
        level.entities = std::vector<Entity>{{5, 0, 9, 9, 9, 0}, {0, 0, 300, 512, -700, 16384}};
        scene.Reset();
        ASSERT_EQ(import(level, 1, 0, name), 0);
        EXPECT_EQ(scene.EyePosition, (TD3DVector{300, -(512 - 768), -700})) << code << ": 768 above the entity, y negated";
        EXPECT_NEAR(scene.EyeRotation.y, std::numbers::pi / 2, 1e-6) << "16384 is a quarter turn";
        EXPECT_EQ(scene.EyeRotation.x, 0);
    }
}

TEST_F(LevelImportTest, WithoutAUsablePlayerEntityTheEyeStandsOverTheFirstRoomsLargestFloor) {
    auto level = floorRoom(3);
    ASSERT_EQ(import(level, 1, 0, "level.tr2"), 0);
    EXPECT_EQ(scene.EyePosition, (TD3DVector{512, -(512 - 768), 0})) << "over the middle of the larger floor face";
    level.entities = std::vector<Entity>{{0, 7, 300, 512, -700, 16384}};  // room 7 does not exist
    scene.Reset();
    ASSERT_EQ(import(level, 1, 0, "level.tr2"), 0);
    EXPECT_EQ(scene.EyePosition, (TD3DVector{512, -(512 - 768), 0}));
    EXPECT_EQ(scene.EyeRotation.y, 0);
}

TEST_F(LevelImportTest, CoordinatesAtTheLimitsOfTheFileFieldsConvertWithoutOverflow) {
    auto level = oneRectangle(1);
    level.rooms[0].x = level.rooms[0].z = INT32_MAX;
    level.rooms[0].vertices[2].x = level.rooms[0].vertices[2].z = INT16_MAX;
    level.rooms[0].sprites = {{2, 0}};
    level.spriteTextures = std::vector<SpriteTexture>{{0, 0, 0, 0xFFFF, 0xFFFF, INT16_MIN, INT16_MIN, INT16_MAX, INT16_MAX}};
    level.entities = std::vector<Entity>{{0, 0, INT32_MAX, INT32_MIN, INT32_MAX, 0}};
    ASSERT_EQ(import(level, 128), 0);
    EXPECT_NEAR(polygons()[0]->LitVertices[4].x, (double(INT32_MAX) + INT16_MAX) / 128, 1);
    EXPECT_NEAR(scene.Stubs[0].second->Info.X, (double(INT32_MAX) + INT16_MAX) / 128, 1);
    EXPECT_TRUE(std::isfinite(scene.EyePosition.y));
}

TEST_F(LevelImportTest, EachRoomKeepsItsFacesAndSpritesInItsOwnCell) {
    auto level = oneRectangle(3);
    level.rooms.push_back(level.rooms[0]);
    level.rooms[1].x += 4096;
    level.rooms[1].sprites = {{0, 0}};
    level.spriteTextures = std::vector<SpriteTexture>{{0, 0, 0, 0x0F00, 0x0F00, -64, -64, 64, 64}};
    ASSERT_EQ(import(level, 1, 0, "level.tr2"), 0);
    const auto found = polygons();
    ASSERT_EQ(found.size(), 2u) << "faces of one texture merge only within their room";
    EXPECT_EQ(found[0]->Cell, 0);
    EXPECT_EQ(found[1]->Cell, 1);
    ASSERT_EQ(scene.Stubs.size(), 1u);
    EXPECT_EQ(scene.Stubs[0].second->Cell, 1);

    scene.CellsDrawn = {1, 0};
    EXPECT_TRUE(scene.CellDrawn(0));
    EXPECT_FALSE(scene.CellDrawn(1));
    EXPECT_TRUE(scene.CellDrawn(-1)) << "objects of no room are always drawn";
    EXPECT_TRUE(scene.CellDrawn(2)) << "rooms past the list are drawn";
}

}  // namespace
}  // namespace grottix
