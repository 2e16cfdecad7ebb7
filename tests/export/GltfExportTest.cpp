// The glTF export read back by a reader of its own: the faces and sprites the viewer shows for the
// demo level of every version, the axes (an L-shaped room must not come out mirrored), which side
// of a face is its front, materials, texture coordinates, images, nodes, and what happens to the
// target when a level does not load.

#include <gtest/gtest.h>

#include <QImage>
#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "app/cli/CommandLine.h"
#include "export/GlbTestReader.h"
#include "viewer/SkyBlobs.h"
#include "viewer/ViewerScene.h"
#include "codecs/Bitmap.h"
#include "export/GltfDocument.h"
#include "export/KeyedTileAlpha.h"
#include "export/LevelGltfExport.h"
#include "device/HeadlessDXDraw.h"
#include "engine/Polygon.h"
#include "engine/StubObject.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"
#include "level_writer/LevelWriter.h"
#include "storage/Stream.h"
#include "support/AnimatedLevel.h"
#include "support/ItemLevel.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using test::TPoint;

constexpr double kMetres = 2.4 / 1024;  // per level unit, as the README states
constexpr double kViewerScale = 128;    // level units per viewer scene unit

// A glTF point (metres, y up, -z where the level has +z) in the viewer's scene units.
TPoint toViewer(const TPoint& p) { return {p[0] / kMetres / kViewerScale, p[1] / kMetres / kViewerScale, -p[2] / kMetres / kViewerScale}; }

TPoint minus(const TPoint& a, const TPoint& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const TPoint& a, const TPoint& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
TPoint cross(const TPoint& a, const TPoint& b) { return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]}; }
// A level point (y down) in glTF's axes and metres.
TPoint gltfPoint(double x, double y, double z) { return {x * kMetres, -y * kMetres, -z * kMetres}; }

uint8_t srgbByte(double linear) {
    const double c = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return uint8_t(std::lround(std::clamp(c, 0.0, 1.0) * 255));
}

struct TVertex {
    TPoint position;
    float u, v;
    uint32_t colour;  // 0x00RRGGBB
};
using TTriangle = std::array<TVertex, 3>;

// uvSlack: how far texture coordinates may differ, in texels.
bool near(const TVertex& a, const TVertex& b, double uvSlack) {
    for (size_t i = 0; i < 3; ++i)
        if (std::abs(a.position[i] - b.position[i]) > 1e-4) return false;
    for (int shift : {0, 8, 16})
        if (std::abs(int((a.colour >> shift) & 0xFF) - int((b.colour >> shift) & 0xFF)) > 1) return false;
    const double slack = (uvSlack + 1e-3) / 256;
    return std::abs(a.u - b.u) < slack && std::abs(a.v - b.v) < slack;
}

// The faces of the export as the viewer's scene would hold them: the export writes each triangle's
// corners in reverse order, so they are turned back.
std::vector<TTriangle> exportedFaces(const test::TGlb& glb) {
    std::vector<TTriangle> out;
    for (const test::TDrawn& drawn : test::DrawnPrimitives(glb)) {
        if (drawn.node.starts_with("sprite ")) continue;
        for (size_t i = 0; i + 2 < drawn.indices.size(); i += 3) {
            TTriangle triangle;
            for (size_t c = 0; c < 3; ++c) {
                const uint32_t k = drawn.indices[i + c];
                const auto& rgb = drawn.colours.at(k);
                const auto uv = drawn.uvs.empty() ? std::array<double, 2>{0, 0} : drawn.uvs.at(k);
                triangle[c] = {toViewer(drawn.positions.at(k)), float(uv[0]), float(uv[1]),
                               uint32_t(srgbByte(rgb[0])) << 16 | uint32_t(srgbByte(rgb[1])) << 8 | srgbByte(rgb[2])};
            }
            std::swap(triangle[0], triangle[2]);
            out.push_back(triangle);
        }
    }
    return out;
}

// Whether the object is drawn: not hidden, and in a room the flip state shows.
bool shown(const TGrottixViewerScene& scene, const TD3DObject& object) {
    const int cell = object.Cell;
    return !object.Hidden && (cell < 0 || size_t(cell) >= scene.RoomsShown.size() || scene.RoomsShown[size_t(cell)]);
}

// The visible polygons' triangles: untextured ones keep coordinates (0, 0), as the export drops them.
std::vector<TTriangle> sceneFaces(const TGrottixViewerScene& scene) {
    std::vector<TTriangle> out;
    for (const auto& entry : scene.Objects) {
        const auto* polygon = dynamic_cast<const TD3DPolygon*>(entry.Item.get());
        if (!polygon || !shown(scene, *polygon)) continue;
        const bool textured = IsLevelTextureName(polygon->Info.TextureNames[0]);
        for (int i = 0; i + 2 < polygon->Count; i += 3) {
            TTriangle triangle;
            for (size_t c = 0; c < 3; ++c) {
                const TD3DLVertex& v = polygon->LitVertices[size_t(i) + c];
                triangle[c] = {{v.x, v.y, v.z}, textured ? v.tu : 0, textured ? v.tv : 0, v.color & 0x00FFFFFF};
            }
            out.push_back(triangle);
        }
    }
    return out;
}

// How many of the expected triangles the export lacks (each exported triangle matches one at most).
size_t unmatched(std::vector<TTriangle> expected, std::vector<TTriangle> exported, double uvSlack) {
    const auto byX = [](const TTriangle& a, const TTriangle& b) { return a[0].position[0] < b[0].position[0]; };
    std::sort(exported.begin(), exported.end(), byX);
    std::vector<bool> used(exported.size());
    size_t missing = 0;
    for (const TTriangle& t : expected) {
        TTriangle low = t;
        low[0].position[0] -= 1e-3;
        bool found = false;
        for (auto it = std::lower_bound(exported.begin(), exported.end(), low, byX);
             it != exported.end() && it->at(0).position[0] < t[0].position[0] + 1e-3 && !found; ++it) {
            const size_t i = size_t(it - exported.begin());
            if (!used[i] && near(t[0], (*it)[0], uvSlack) && near(t[1], (*it)[1], uvSlack) && near(t[2], (*it)[2], uvSlack))
                used[i] = found = true;
        }
        missing += !found;
    }
    return missing;
}

class DemoLevelExport : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        display.Initialize();
        level = std::string(GROTTIX_GENERATED_DIR) + "/demo/" + GetParam();
        ASSERT_EQ(OpenLevelIntoScene(scene, level, 128, 0.5f, ExpandSkyPicture(), MakeFloorRecord()), 0);
    }
    test::TGlb exported(const TGltfExportOptions& options) {
        const std::string out = dir.file("level.glb");
        EXPECT_EQ(ExportLevelToGltf(level, out, options, {}, &report), 0);
        return test::ReadGlb(out);
    }
    // The export holds the faces, colours and sprites of what the scene shows; texture coordinates
    // as the viewer has them (half a texel inside their face's texture), or half a texel off with nearest sampling.
    void expectTheSceneIn(const test::TGlb& glb, bool filtered);
    size_t sceneTriangles() const {
        size_t triangles = 0;
        for (const auto& entry : scene.Objects)
            if (shown(scene, *entry.Item) && (entry.Item->GetKind() == kKindPolygon || entry.Item->GetKind() == kKindStub))
                triangles += size_t(entry.Item->GetTriangleCount());
        return triangles;
    }

    THeadlessDXDraw display{64, 48, 32, 0, THeadlessDXDraw::TDevice::Recording};
    TGrottixViewerScene scene{&display};
    test::TempDir dir;
    std::string level;
    TGltfExportReport report;
};

TEST_P(DemoLevelExport, CarriesExactlyTheFacesAndSpritesTheViewerShows) {
    for (const bool flipped : {false, true}) {
        SCOPED_TRACE(flipped ? "flipped, nearest sampling" : "as the level starts");
        TGltfExportOptions options;
        if (flipped) options.Flip = TFlipState::All();
        options.Filtering = !flipped;
        scene.SetFlipState(options.Flip);
        expectTheSceneIn(exported(options), options.Filtering);
    }
}

void DemoLevelExport::expectTheSceneIn(const test::TGlb& glb, bool filtered) {
    EXPECT_TRUE(glb.faults.empty()) << glb.faults.front();
    const auto faces = exportedFaces(glb), expected = sceneFaces(scene);
    EXPECT_EQ(faces.size() + report.LeftOut, expected.size());
    EXPECT_EQ(unmatched(expected, faces, filtered ? 0 : 0.5), report.LeftOut)
        << "positions, coordinates and colours come back as the viewer has them";

    std::vector<TPoint> sprites;
    for (const test::TDrawn& drawn : test::DrawnPrimitives(glb))
        if (drawn.node.starts_with("sprite ")) {
            TPoint centre{};
            for (const TPoint& p : drawn.positions)
                for (size_t i = 0; i < 3; ++i) centre[i] += p[i] / double(drawn.positions.size());
            sprites.push_back(toViewer(centre));
        }
    size_t stubs = 0;
    for (const auto& entry : scene.Objects) {
        const auto* stub = dynamic_cast<const TD3DStubObject*>(entry.Item.get());
        if (!stub || !shown(scene, *stub)) continue;
        ++stubs;
        EXPECT_TRUE(std::any_of(sprites.begin(), sprites.end(), [&](const TPoint& p) {
            return std::abs(p[0] - stub->Info.X) < 1e-4 && std::abs(p[1] - stub->Info.Y) < 1e-4 && std::abs(p[2] - stub->Info.Z) < 1e-4;
        })) << "a sprite centred where the stub stands";
    }
    EXPECT_EQ(sprites.size(), stubs);
    EXPECT_EQ(report.Triangles + report.LeftOut, sceneTriangles() + 2 * stubs) << "a crossed sprite is two quads";
}

// Blender and most tools ignore a PNG's transparent colour: a cut-out tile needs an alpha channel.
TEST_P(DemoLevelExport, WritesCutOutTilesWithAlphaAndOpaqueTilesWithout) {
    const test::TGlb glb = exported({});
    size_t masks = 0;
    for (const QJsonValue value : glb.json["materials"].toArray()) {
        const QJsonObject material = value.toObject();
        const QJsonObject texture = material["pbrMetallicRoughness"].toObject()["baseColorTexture"].toObject();
        if (texture.isEmpty()) continue;
        const int image = glb.at("textures", texture["index"].toInt())["source"].toInt();
        const std::vector<uint8_t> png = glb.image(image);
        ASSERT_GT(png.size(), 25u);
        const QString mode = material["alphaMode"].toString("OPAQUE");
        EXPECT_EQ(png[25], mode == "OPAQUE" ? 2 : 6) << "PNG colour type of " << material["name"].toString().toStdString();
        EXPECT_EQ(glb.at("images", image)["name"].toString(),
                  QString::fromStdString(std::filesystem::path(level).stem().string()) + " " + material["name"].toString().section(' ', 0, 1));
        if (mode != "MASK") continue;
        ++masks;
        const QImage tile = QImage::fromData(png.data(), int(png.size()), "PNG").convertToFormat(QImage::Format_RGBA8888);
        size_t clear = 0, opaque = 0;
        for (int y = 0; y < tile.height(); ++y)
            for (int x = 0; x < tile.width(); ++x) {
                clear += qAlpha(tile.pixel(x, y)) == 0;
                opaque += qAlpha(tile.pixel(x, y)) == 255;
            }
        EXPECT_GT(clear, 0u);
        EXPECT_GT(opaque, 0u);
        EXPECT_EQ(clear + opaque, size_t(tile.width() * tile.height())) << "alpha is either clear or opaque";
    }
    EXPECT_GT(masks, 0u) << "the demo level has cut-out tiles";
}

// Blender keeps node names unique by renaming: the export's names are unique already and say what
// each node is.
TEST_P(DemoLevelExport, NamesEveryNodeForWhatItIs) {
    const test::TGlb glb = exported({});
    const QRegularExpression named(R"(^(room \d+|static \d+ #\d+|[A-Z][^#]* #\d+|sprite \d+ \(room \d+\))$)");
    std::set<QString> names;
    const QJsonArray nodes = glb.json["nodes"].toArray();
    for (qsizetype i = 1; i < nodes.size(); ++i) {
        const QString name = nodes[i].toObject()["name"].toString();
        EXPECT_TRUE(named.match(name).hasMatch()) << name.toStdString();
        EXPECT_TRUE(names.insert(name).second) << name.toStdString() << " twice";
    }
}

TEST_P(DemoLevelExport, WithoutItemsMatchesTheViewerWithItemsHidden) {
    exported({.Items = false, .Sprites = TGltfSprites::Flat});
    scene.SetItemsVisible(false);
    EXPECT_EQ(report.Triangles + report.LeftOut, sceneTriangles());
    EXPECT_GT(scene.ItemCount, 0) << "the demo level has items to leave out";
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, DemoLevelExport,
                         ::testing::Values("demo-tr1.phd", "demo-ub.tub", "demo-tr2.tr2", "demo-tr3.tr2", "demo-tr4.tr4", "demo-trc.trc"),
                         [](const auto& info) { return std::filesystem::path(info.param).stem().string().substr(5); });

// A TR1 room shaped like an L, seen from above: squares at (x, z) = (0, 0), (1, 0) and (0, 1)
// sectors from its origin, none at (1, 1); a wall triangle rises over its first edge. Faces run
// clockwise seen from inside the room, as the games' rooms are wound. The second
// square's object texture is semi-transparent. Tile 1 is opaque but for a black 16 x 16 corner.
// A static mesh (one 64-unit square) stands beside the room, turned a quarter; a sprite stands on
// the room's middle vertex.
levelwriter::LevelDescription lShapedRoom() {
    using namespace levelwriter;
    LevelDescription level;
    level.code = 1;
    level.tileCount = 1;
    level.tiles8.assign(65536, 1);
    for (int y = 0; y < 16; ++y) std::fill_n(level.tiles8.begin() + y * 256, 16, 0);
    level.palette8[3] = 40;
    level.palette8[4] = 20;
    level.palette8[5] = 10;
    Room room;
    room.x = 2048;
    room.z = 1024;
    room.yTop = -1024;
    room.vertices = {{0, 0, 0},       {1024, 0, 0},    {2048, 0, 0},    {0, 0, 1024},     {1024, 0, 1024},
                     {2048, 0, 1024}, {0, 0, 2048},    {1024, 0, 2048}, {0, -1024, 0, 0x1000}};
    room.rectangles = {{{0, 3, 4, 1}, 0}, {{1, 4, 5, 2}, 1}, {{3, 6, 7, 4}, 0}};
    room.triangles = {{{0, 1, 8}, 0}};
    room.sprites = {{4, 0}};
    room.staticMeshes = {{4096 + 512, 0, 512, 16384, 5}};
    level.rooms = {room};
    ObjectTexture plain, blended;
    plain.u = {0, 64, 64, 0};
    plain.v = {0, 0, 64, 64};
    blended = plain;
    blended.attribute = 2;
    level.objectTextures = {plain, blended};
    level.meshData = {0, 0, 0, 0, 0, 4, 0, 0, 0, 64, 0, 0, 64, 0, 64, 0, 0, 64, 0, 1, 0, 1, 2, 3, 0, 0, 0, 0};
    level.meshPointers = {0};
    level.staticMeshDefinitions = {{5, 0}};
    level.spriteTextures = std::vector<SpriteTexture>{{0, 0, 0, 0x0FFF, 0x0FFF, -64, -128, 64, 0}};
    return level;
}

class LShapedRoomExport : public ::testing::Test {
protected:
    void SetUp() override {
        levelwriter::WriteLevelFile(lShapedRoom(), level);
        ASSERT_EQ(ExportLevelToGltf(level, out, {}, [&](double done) { progress.push_back(done); }), 0);
        glb = test::ReadGlb(out);
        ASSERT_TRUE(glb.faults.empty()) << glb.faults.front();
        primitives = test::DrawnPrimitives(glb);
    }
    const test::TDrawn* drawn(const std::string& node, int material) const {
        for (const test::TDrawn& d : primitives)
            if (d.node == node && (material < 0 || d.material == material)) return &d;
        return nullptr;
    }
    int material(const char* mode) const {
        const QJsonArray materials = glb.json["materials"].toArray();
        for (qsizetype i = 0; i < materials.size(); ++i)
            if (materials[i].toObject()["alphaMode"].toString() == mode) return int(i);
        return -1;
    }

    test::TempDir dir;
    std::string level = dir.file("room.phd"), out = dir.file("room.glb");
    std::vector<double> progress;
    test::TGlb glb;
    std::vector<test::TDrawn> primitives;
};

TEST_F(LShapedRoomExport, KeepsTheRoomsHandedness) {
    const test::TDrawn* floor = drawn("room 0", material("MASK"));
    ASSERT_NE(floor, nullptr);
    // Where the level has +x and +z (the viewer looks along +z with +x on its right), glTF has +x
    // and -z (looking along -z with +x on the right): the notch of the L stays ahead on the right.
    std::vector<std::pair<long, long>> squares;
    for (size_t i = 0; i + 5 < floor->indices.size(); i += 6) {
        double x = 0, z = 0;
        for (size_t c : {0, 1, 2, 4}) {  // the quadrangle's four corners
            x += floor->positions[floor->indices[i + c]][0] / kMetres / 4;
            z += floor->positions[floor->indices[i + c]][2] / kMetres / 4;
        }
        if (std::abs(floor->positions[floor->indices[i]][1]) < 1e-9) squares.push_back({std::lround(x), std::lround(z)});
    }
    std::sort(squares.begin(), squares.end());
    const std::vector<std::pair<long, long>> expected = {{2048 + 512, -1024 - 1536}, {2048 + 512, -1024 - 512}};
    EXPECT_EQ(squares, expected) << "the two squares of texture 0 at x = 0, z = 0 and 1 sectors";
    const test::TDrawn* blended = drawn("room 0", material("BLEND"));
    ASSERT_NE(blended, nullptr);
    for (const TPoint& p : blended->positions) {
        EXPECT_GE(p[0], (2048 + 1024) * kMetres - 1e-6) << "the blended square lies at +x, on the right";
        EXPECT_LE(p[2], -1024 * kMetres + 1e-6) << "and ahead";
    }
    double top = -1;
    for (const TPoint& p : floor->positions) top = std::max(top, p[1]);
    EXPECT_NEAR(top, 1024 * kMetres, 1e-6) << "the wall triangle rises: up is +y";
}

TEST_F(LShapedRoomExport, PlacesTheRoomAtItsOriginAndTheStaticMeshAndTheSpriteRelativeToIt) {
    const QJsonObject room = glb.at("nodes", 1);
    EXPECT_EQ(room["name"].toString(), "room 0");
    EXPECT_EQ(room["translation"].toArray(), (QJsonArray{2048 * kMetres, 0, -1024 * kMetres}));

    const test::TDrawn* mesh = drawn("static 5 #0", -1);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(glb.at("nodes", mesh->parent)["name"].toString(), "room 0");
    const QJsonObject node = glb.at("nodes", room["children"].toArray()[0].toInt());
    EXPECT_EQ(node["rotation"].toArray().size(), 4) << "the mesh's own transform turns it";
    const QJsonArray offset = node["translation"].toArray();
    EXPECT_NEAR(offset[0].toDouble(), 2560 * kMetres, 1e-9) << "the mesh stands 2560 units along x from the room";
    EXPECT_NEAR(offset[2].toDouble(), 512 * kMetres, 1e-9) << "and 512 back along z";
    // Mesh corner (64, 0, 0) turned a quarter about the level's y goes to -z, so to +z in glTF.
    bool found = false;
    for (const TPoint& p : mesh->positions)
        found |= std::abs(p[0] - 4608 * kMetres) < 1e-3 && std::abs(p[1]) < 1e-6 && std::abs(p[2] - (-512 + 64) * kMetres) < 1e-3;
    EXPECT_TRUE(found);
    EXPECT_EQ(mesh->colours.size(), mesh->positions.size());

    // Vertex 4 at (3072, 0, 2048); the sprite is 128 units square, standing on the vertex: a quad
    // facing +z crossed by one facing +x.
    const test::TDrawn* sprite = drawn("sprite 0 (room 0)", -1);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->colours, std::vector<TPoint>(8, TPoint{1, 1, 1})) << "white, as the viewer draws sprites";
    ASSERT_EQ(sprite->positions.size(), 8u);
    for (size_t i = 0; i < 8; ++i) {
        const TPoint& p = sprite->positions[i];
        const double along = i < 4 ? p[0] - 3072 * kMetres : -(p[2] + 2048 * kMetres);
        const double across = i < 4 ? p[2] + 2048 * kMetres : p[0] - 3072 * kMetres;
        EXPECT_NEAR(along, (i % 2 ? 64 : -64) * kMetres, 1e-6) << "corner " << i << ": the left of the picture on the left";
        EXPECT_NEAR(across, 0, 1e-6) << "corner " << i;
        EXPECT_NEAR(p[1], (i % 4 < 2 ? 128 : 0) * kMetres, 1e-6) << "corner " << i << ": the top of the picture on top";
        EXPECT_EQ(sprite->uvs[i], sprite->uvs[i % 4]);
    }
    EXPECT_EQ(sprite->uvs[0], (std::array<double, 2>{0.5 / 256, 0.5 / 256})) << "half a texel inside the picture";
    EXPECT_NEAR(sprite->uvs[3][0], 15.5 / 256, 1e-7);

    ASSERT_EQ(ExportLevelToGltf(level, out, {.Sprites = TGltfSprites::Flat}), 0);
    size_t flat = 0;
    for (const test::TDrawn& d : test::DrawnPrimitives(test::ReadGlb(out))) {
        if (d.node != "sprite 0 (room 0)") continue;
        ++flat;
        EXPECT_EQ(d.positions, std::vector<TPoint>(sprite->positions.begin(), sprite->positions.begin() + 4)) << "the quad facing +z alone";
    }
    EXPECT_EQ(flat, 1u);
}

TEST_F(LShapedRoomExport, EmbedsTheTileAndDrawsKeyedTexelsAsCutOutsAndBlendedFacesAsBlends) {
    const QJsonArray images = glb.json["images"].toArray();
    ASSERT_EQ(images.size(), 1);
    const std::vector<uint8_t> png = glb.image(0);
    const QImage tile = QImage::fromData(png.data(), int(png.size()), "PNG").convertToFormat(QImage::Format_RGBA8888);
    ASSERT_EQ(tile.size(), QSize(256, 256));
    TTombRaiderLevel read;
    ASSERT_EQ(read.LoadLevel(level), 0);
    const TColor texel = read.GetTileBitmap("1")->Pixel(100, 100);
    EXPECT_EQ(tile.pixel(100, 100), qRgba(GetRValue(texel), GetGValue(texel), GetBValue(texel), 255))
        << "the pixels the viewer's textures get, opaque";
    EXPECT_EQ(tile.pixel(15, 15), qRgba(GetRValue(texel), GetGValue(texel), GetBValue(texel), 0))
        << "a black texel is clear, coloured like its opaque neighbours";
    EXPECT_EQ(images[0].toObject()["name"].toString(), "room tile 1") << "the level's name first";

    const int mask = material("MASK"), blend = material("BLEND");
    ASSERT_GE(mask, 0);
    ASSERT_GE(blend, 0);
    EXPECT_EQ(glb.at("materials", blend)["pbrMetallicRoughness"].toObject()["baseColorFactor"].toArray()[3].toDouble(), 0.5);
    const test::TDrawn* sprite = drawn("sprite 0 (room 0)", -1);
    ASSERT_NE(sprite, nullptr);
    const QJsonArray materials = glb.json["materials"].toArray();
    for (qsizetype i = 0; i < materials.size(); ++i) {
        EXPECT_EQ(materials[i].toObject()["doubleSided"].toBool(), i == sprite->material)
            << "no face of the room is flagged double-sided; the sprite shows from both sides";
        EXPECT_TRUE(materials[i].toObject()["extensions"].toObject().contains("KHR_materials_unlit")) << "the light is baked";
    }
    EXPECT_EQ(glb.at("samplers", 0)["magFilter"].toInt(), 9729) << "linear, as the viewer filters by default";

    ASSERT_EQ(ExportLevelToGltf(level, out, {.Filtering = false}), 0);
    EXPECT_EQ(test::ReadGlb(out).at("samplers", 0)["minFilter"].toInt(), 9728) << "nearest";
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 1.0);
}

TEST_F(LShapedRoomExport, WeldsTheCornersFacesShare) {
    const test::TDrawn* floor = drawn("room 0", material("MASK"));
    ASSERT_NE(floor, nullptr);
    EXPECT_EQ(floor->indices.size(), 2 * 6u + 3);
    // Each square's corners differ from its neighbour's in texture coordinates; within a square the
    // two triangles share two corners, and the wall triangle shares its first with square 0.
    EXPECT_EQ(floor->positions.size(), 2 * 4u + 2);
}

TEST_F(LShapedRoomExport, LeavesOutTrianglesWithoutAreaAndCountsThemWhenVerbose) {
    TGltfExportReport plain;
    ASSERT_EQ(ExportLevelToGltf(level, out, {}, {}, &plain), 0);
    EXPECT_EQ(plain.LeftOut, 0u);
    auto description = lShapedRoom();
    description.rooms[0].rectangles.push_back({{0, 1, 4, 4}, 0});  // a triangle with a corner twice
    // Three corners in a line, the only face on a second tile: neither the tile nor an empty
    // primitive is written.
    description.tileCount = 2;
    description.tiles8.resize(2 * 65536, 1);
    description.objectTextures.push_back(description.objectTextures[0]);
    description.objectTextures.back().tile = 1;
    description.rooms[0].triangles.push_back({{0, 1, 2}, 2});
    levelwriter::WriteLevelFile(description, level);
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunCommandLine({"--export-gltf", level, out, "--verbose"}), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("\ndegenerate triangles left out: 2\n"), std::string::npos);
    TGltfExportReport degenerate;
    ASSERT_EQ(ExportLevelToGltf(level, out, {}, {}, &degenerate), 0);
    EXPECT_EQ(degenerate.Triangles, plain.Triangles + 1) << "the rectangle's other half is kept";
    const test::TGlb read = test::ReadGlb(out);
    EXPECT_TRUE(read.faults.empty()) << read.faults.front();
    EXPECT_EQ(read.json["images"].toArray().size(), 1);
    for (const test::TDrawn& d : test::DrawnPrimitives(read)) {
        EXPECT_FALSE(d.indices.empty());
        for (size_t i = 0; i + 2 < d.indices.size(); i += 3)
            EXPECT_TRUE(d.positions[d.indices[i]] != d.positions[d.indices[i + 1]] && d.positions[d.indices[i + 1]] != d.positions[d.indices[i + 2]] &&
                        d.positions[d.indices[i]] != d.positions[d.indices[i + 2]]);
    }
}

// Corner i of a box size units a side on the origin: x = size where i is 1, 2, 5 or 6, y = -size
// (up: y grows downwards) from 4 on, z = size where i is 2, 3, 6 or 7.
std::array<int, 3> boxCorner(int i, int size) {
    return {i == 1 || i == 2 || i == 5 || i == 6 ? size : 0, i < 4 ? 0 : -size, i == 2 || i == 3 || i == 6 || i == 7 ? size : 0};
}

// A closed cube 128 units a side standing on its origin, in the mesh data layout of the code: six
// rectangles with object texture 0, clockwise seen from outside, as the games wind meshes.
std::vector<uint16_t> cubeMesh(int code) {
    std::vector<uint16_t> words = {0, uint16_t(-64), 0, 0, 0, 8};  // centre, radius, vertex count
    for (int i = 0; i < 8; ++i) {
        const auto [x, y, z] = boxCorner(i, 128);
        words.insert(words.end(), {uint16_t(x - 64), uint16_t(y), uint16_t(z - 64)});
    }
    words.insert(words.end(), {0, 6});  // no normals; six rectangles
    const std::array<uint16_t, 4> faces[] = {{0, 1, 2, 3}, {7, 6, 5, 4}, {4, 5, 1, 0}, {6, 7, 3, 2}, {7, 4, 0, 3}, {5, 6, 2, 1}};
    for (const auto& face : faces) {
        words.insert(words.end(), face.begin(), face.end());
        words.push_back(0);
        if (code >= 6) words.push_back(0);  // effects
    }
    words.push_back(0);                                // no textured triangles
    if (code <= 5) words.insert(words.end(), {0, 0});  // nor coloured faces
    if (words.size() % 2) words.push_back(0);
    return words;
}

// A closed room one sector square and high, wound as the games wind rooms (clockwise seen from
// inside), its west wall (x = 0) flagged double-sided and its east wall two triangles, around the
// cube standing in its middle as a static mesh, and a sprite item. Every face shows the tile's
// 64-texel corner square.
levelwriter::LevelDescription boxRoom(int code) {
    using namespace levelwriter;
    LevelDescription level;
    level.code = code;
    level.tileCount = 1;
    level.tiles8.assign(65536, 1);
    level.palette8[3] = 40;
    ObjectTexture square;
    square.u = {0, 64, 64, 0};
    square.v = {0, 0, 64, 64};
    level.objectTextures = {square};
    constexpr uint16_t kDoubleSided = 0x8000;
    const std::vector<Rectangle> rectangles = {
        {{3, 2, 1, 0}, 0}, {{4, 5, 6, 7}, 0}, {{0, 1, 5, 4}, 0}, {{2, 3, 7, 6}, 0}, {{3, 0, 4, 7}, kDoubleSided}};
    const std::vector<Triangle> triangles = {{{1, 2, 6}, 0}, {{1, 6, 5}, 0}};
    Room room;
    room.yTop = -1024;
    if (code == 7) {
        Layer layer{{}, rectangles, triangles};
        for (int i = 0; i < 8; ++i) {
            const auto [x, y, z] = boxCorner(i, 1024);
            layer.vertices.push_back({float(x), float(y), float(z)});
        }
        room.layers = {layer};
    } else {
        for (int i = 0; i < 8; ++i) {
            const auto [x, y, z] = boxCorner(i, 1024);
            room.vertices.push_back({int16_t(x), int16_t(y), int16_t(z)});
        }
        room.rectangles = rectangles;
        room.triangles = triangles;
    }
    room.staticMeshes = {{512, 0, 512, 0, 5}};
    level.rooms = {room};
    level.meshData = cubeMesh(code);
    level.meshPointers = {0};
    level.staticMeshDefinitions = {{5, 0}};
    if (code >= 6) level.spriteTextures = std::vector<SpriteTexture>{{0, 0, 0, 0, 0, 0, 0, 15, 15}};
    else level.spriteTextures = std::vector<SpriteTexture>{{0, 0, 0, 0x0FFF, 0x0FFF, -64, -128, 64, 0}};
    level.spriteSequences = std::vector<SpriteSequence>{{10, 1, 0}};
    level.moveables = std::vector<Moveable>{};
    level.entities = std::vector<Entity>{{10, 0, 256, 0, 256, 0}};
    return level;
}

class BoxRoomExport : public ::testing::TestWithParam<std::pair<int, const char*>> {
protected:
    test::TGlb exported(const TGltfExportOptions& options) {
        const auto& [code, name] = GetParam();
        const std::string level = dir.file(name), out = dir.file("box.glb");
        levelwriter::WriteLevelFile(boxRoom(code), level);
        EXPECT_EQ(ExportLevelToGltf(level, out, options), 0);
        test::TGlb glb = test::ReadGlb(out);
        EXPECT_TRUE(glb.faults.empty()) << glb.faults.front();
        return glb;
    }
    test::TempDir dir;
};

// glTF's front is where a triangle's corners run counter-clockwise; with backface culling, an
// importer must show what the games show.
TEST_P(BoxRoomExport, FrontsFaceWhereTheGamesDrawAndMaterialsNeedNoSplitting) {
    const test::TGlb glb = exported({});
    const QJsonArray materials = glb.json["materials"].toArray();
    const auto doubleSided = [&](int material) { return materials[material].toObject()["doubleSided"].toBool(); };
    const TPoint inside = gltfPoint(512, -512, 512), cube = gltfPoint(512, -64, 512);
    size_t roomTriangles = 0, cubeTriangles = 0;
    int wall = -1, sprite = -1;
    for (const test::TDrawn& d : test::DrawnPrimitives(glb)) {
        if (d.node.starts_with("sprite ")) {
            sprite = d.material;
            EXPECT_TRUE(doubleSided(d.material)) << "a sprite shows from both sides";
            continue;
        }
        const bool room = d.node == "room 0";
        for (size_t i = 0; i + 2 < d.indices.size(); i += 3) {
            const TPoint &a = d.positions[d.indices[i]], &b = d.positions[d.indices[i + 1]], &c = d.positions[d.indices[i + 2]];
            const TPoint front = cross(minus(b, a), minus(c, a));
            const TPoint middle{(a[0] + b[0] + c[0]) / 3, (a[1] + b[1] + c[1]) / 3, (a[2] + b[2] + c[2]) / 3};
            if (room) {
                ++roomTriangles;
                EXPECT_GT(dot(front, minus(inside, middle)), 0) << "a room's faces front its inside: the floor points up";
                const bool west = std::abs(a[0]) + std::abs(b[0]) + std::abs(c[0]) < 1e-9;
                EXPECT_EQ(doubleSided(d.material), west) << "only the flagged wall is double-sided";
                if (west) wall = d.material;
            } else {
                ++cubeTriangles;
                EXPECT_GT(dot(front, minus(middle, cube)), 0) << "a mesh's faces front its outside";
                EXPECT_FALSE(doubleSided(d.material));
            }
        }
    }
    EXPECT_EQ(roomTriangles, 12u);
    EXPECT_EQ(cubeTriangles, 12u);
    EXPECT_GE(wall, 0);
    EXPECT_EQ(sprite, wall) << "the sprite and the double-sided wall share a tile and a mode: one material";

    // Blender splits a material between primitives with and without vertex colours, and renames
    // what shares a name.
    std::map<int, QStringList> attributes;
    for (const QJsonValue mesh : glb.json["meshes"].toArray())
        for (const QJsonValue p : mesh.toObject()["primitives"].toArray()) {
            const QStringList keys = p.toObject()["attributes"].toObject().keys();
            EXPECT_TRUE(keys.contains("COLOR_0"));
            const auto [known, added] = attributes.try_emplace(p.toObject()["material"].toInt(), keys);
            EXPECT_EQ(known->second, keys) << "every primitive of a material has the same attributes";
        }
    std::set<QString> names;
    for (const QJsonValue m : materials) EXPECT_TRUE(names.insert(m.toObject()["name"].toString()).second) << "unique names";
    EXPECT_EQ(glb.at("images", 0)["name"].toString(), "box tile 1") << "images carry the level's name";
}

// Linear filtering at a texel's edge reads the texels beyond it too: filtered, every coordinate of
// the faces lies half a texel inside the 64-texel square they show; nearest, on its texel edges as
// the level has it.
TEST_P(BoxRoomExport, FilteredTextureCoordinatesLieHalfATexelInsideTheFacesTexture) {
    for (const bool filtered : {true, false}) {
        SCOPED_TRACE(filtered ? "linear" : "nearest");
        size_t coordinates = 0;
        for (const test::TDrawn& d : test::DrawnPrimitives(exported({.Filtering = filtered}))) {
            if (d.node.starts_with("sprite ")) continue;
            for (const auto& uv : d.uvs)
                for (const double c : uv) {
                    ++coordinates;
                    const double texels = c * 256 - (filtered ? 0.5 : 0);
                    EXPECT_NEAR(texels, std::round(texels), 1e-4);
                    EXPECT_TRUE(filtered ? c > 0 && c < 64 / 256.0 : c == 0 || c == 64 / 256.0) << c * 256;
                }
        }
        EXPECT_GT(coordinates, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, BoxRoomExport,
                         ::testing::Values(std::pair{1, "box.phd"}, std::pair{3, "box.tr2"}, std::pair{5, "box.tr2"},
                                           std::pair{6, "box.tr4"}, std::pair{7, "box.trc"}),
                         [](const auto& info) { return "code" + std::to_string(info.param.first); });

// Clear texels take their colour from the nearest opaque ones, a few texels deep; beyond that the
// tile's mean opaque colour.
TEST(KeyedTileAlpha, GrowsOpaqueColoursIntoClearTexels) {
    TBitmap row(12, 1, TPixelFormat::pf24bit);
    row.SetPixel(0, 0, RGB(200, 0, 0));
    row.SetPixel(11, 0, RGB(0, 0, 100));
    const std::vector<uint8_t> rgba = KeyedTileRgba(row);
    const auto texel = [&](size_t x) { return std::vector<uint8_t>(rgba.begin() + long(x * 4), rgba.begin() + long(x * 4 + 4)); };
    EXPECT_EQ(texel(0), (std::vector<uint8_t>{200, 0, 0, 255}));
    EXPECT_EQ(texel(4), (std::vector<uint8_t>{200, 0, 0, 0}));
    EXPECT_EQ(texel(5), (std::vector<uint8_t>{100, 0, 50, 0}));
    EXPECT_EQ(texel(7), (std::vector<uint8_t>{0, 0, 100, 0}));
    EXPECT_EQ(texel(11), (std::vector<uint8_t>{0, 0, 100, 255}));
}

TEST(GltfDocument, IndicesTake16BitsUntilTheLargestIndexNeeds32) {
    TGltfDocument document;
    const int narrow = document.AddIndices({0, 1, 65534});
    const int wide = document.AddIndices({0, 1, 65535});
    const int odd = document.AddIndices({0, 1, 2});  // 6 bytes: the next view starts at the next multiple of 4
    document.AddFloats({1, 2, 3}, 3);
    test::TempDir dir;
    const std::vector<uint8_t> glb = document.Glb({{"version", "2.0"}});
    WriteFileAtomically(dir.file("indices.glb"), glb.data(), glb.size());
    const test::TGlb read = test::ReadGlb(dir.file("indices.glb"));
    EXPECT_TRUE(read.faults.empty()) << read.faults.front();
    EXPECT_EQ(read.at("accessors", narrow)["componentType"].toInt(), 5123);
    EXPECT_EQ(read.at("accessors", wide)["componentType"].toInt(), 5125) << "65535 is kept free in 16 bits";
    EXPECT_EQ(read.accessor(odd), (std::vector<double>{0, 1, 2}));
}

TEST(GltfExport, ALevelThatDoesNotLoadLeavesTheTargetAsItWas) {
    test::TempDir dir;
    const std::string out = dir.file("kept.glb");
    const std::vector<uint8_t> before = {'k', 'e', 'e', 'p'};
    WriteFileAtomically(out, before.data(), before.size());
    EXPECT_EQ(ExportLevelToGltf(dir.file("missing.phd"), out), 1);
    const std::vector<uint8_t> unknownVersion(64, 0x7F);
    WriteFileAtomically(dir.file("bad.phd"), unknownVersion.data(), unknownVersion.size());
    EXPECT_EQ(ExportLevelToGltf(dir.file("bad.phd"), out), 2);
    EXPECT_EQ(ReadWholeFile(out), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "nothing left beside it";
}

// The Khronos validator (scripts/setup installs it) on exports of the demo level of every version,
// of the room above and of animated items and models, through the command line. Under scripts/test a missing validator fails.
TEST(GltfValidator, FindsNoErrorOrWarningInExportsOfEveryVersion) {
    const std::string validator = std::string(GROTTIX_GLTF_VALIDATOR_DIR) + "/validate.js";
    const bool installed = FileExists(std::string(GROTTIX_GLTF_VALIDATOR_DIR) + "/node_modules/gltf-validator/package.json") &&
                           std::system("node --version >/dev/null 2>&1") == 0;
    const char* required = std::getenv("GROTTIX_REQUIRE_GLTF_VALIDATOR");
    if (!installed) {
        if (required && std::string(required) == "1") FAIL() << "node or gltf-validator is missing: run scripts/setup";
        GTEST_SKIP() << "node or gltf-validator is missing: run scripts/setup";
    }
    test::TempDir dir;
    levelwriter::WriteLevelFile(lShapedRoom(), dir.file("room.phd"));
    std::vector<std::string> levels = {dir.file("room.phd")};
    for (const char* name : {"demo-tr1.phd", "demo-ub.tub", "demo-tr2.tr2", "demo-tr3.tr2", "demo-tr4.tr4", "demo-trc.trc"})
        levels.push_back(std::string(GROTTIX_GENERATED_DIR) + "/demo/" + name);
    std::vector<std::vector<std::string>> exports;
    for (size_t i = 0; i < levels.size(); ++i) exports.push_back({"--export-gltf", levels[i], dir.file(std::to_string(i) + ".glb")});
    // Items with their animations, and one moveable with its own, where the animation tables differ.
    for (int code : {1, 6}) {
        const std::string animated = dir.file("animated" + std::to_string(code) + (code == 1 ? ".phd" : ".tr4"));
        levelwriter::WriteLevelFile(test::AnimatedLevel(code), animated);
        exports.push_back({"--export-gltf", animated, animated + ".glb", "--animations"});
        exports.push_back({"--export-model", animated, std::to_string(test::kAnimatedType), animated + ".model.glb"});
    }
    std::string command = "node '" + validator + "'";
    for (const auto& args : exports) {
        const std::string& out = args[args[0] == "--export-model" ? 3 : 2];
        testing::internal::CaptureStdout();
        const int code = RunCommandLine(args);
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(code, 0) << args[1];
        command += " '" + out + "'";
    }
    std::string report;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) report.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << report;
}

// Items more than four sectors beyond their room's box (x -2048 to 2048, y -2048 to 512): flagged by
// --info --json, left out of the export unless --all-items, and counted with --verbose. An item at
// the margin itself is no stray.
TEST(StrayItemExport, ItemsFarOutsideTheirRoomsAreFlaggedAndLeftOutUnlessAllItemsAreAsked) {
    test::TempDir dir;
    auto description = test::ItemLevel(1);
    using levelwriter::Entity;
    description.entities->push_back(Entity{10, 0, 2048 + 4096, 512, 0, 0});  // 2: at the margin
    description.entities->push_back(Entity{10, 0, 524288, 512, 0, 0});      // 3: far out along x
    description.entities->push_back(Entity{10, 0, 0, 512 + 4097, 0, 0});     // 4: far below the floor
    const std::string level = dir.file("strays.phd"), out = dir.file("strays.glb");
    levelwriter::WriteLevelFile(description, level);

    testing::internal::CaptureStdout();
    ASSERT_EQ(RunCommandLine({"--info", level, "--json"}), 0);
    const QJsonArray items = QJsonDocument::fromJson(QByteArray::fromStdString(testing::internal::GetCapturedStdout()))["items"].toArray();
    ASSERT_EQ(items.size(), 5);
    for (int i = 0; i < 5; ++i) {
        const bool stray = i >= 3;
        EXPECT_EQ(items[i].toObject().contains("outside_room"), stray) << i;
        EXPECT_EQ(items[i].toObject().value("outside_room").toBool(), stray) << i;
    }

    const auto exportedItems = [&](std::vector<std::string> args, const std::string& verboseLine) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(RunCommandLine(args), 0);
        EXPECT_NE(testing::internal::GetCapturedStdout().find(verboseLine), std::string::npos) << verboseLine;
        std::set<int> indices;
        const test::TGlb read = test::ReadGlb(out);
        static const QRegularExpression itemName(QStringLiteral(" #(\\d+)$"));
        for (const QJsonValue& node : read.json["nodes"].toArray())
            if (const auto match = itemName.match(node.toObject()["name"].toString()); match.hasMatch())
                indices.insert(match.captured(1).toInt());
        return indices;
    };
    EXPECT_EQ(exportedItems({"--export-gltf", level, out, "--verbose"}, "\nitems far outside their rooms left out: 2\n"),
              (std::set<int>{1, 2}));
    EXPECT_EQ(exportedItems({"--export-gltf", level, out, "--all-items", "--verbose"}, "\nitems far outside their rooms left out: 0\n"),
              (std::set<int>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace grottix
