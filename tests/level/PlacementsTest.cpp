// Lights, static meshes, cameras, fly-by cameras and sound sources, decoded from levels written in
// each layout the games use, with the values a file can get wrong kept and named.

#include <gtest/gtest.h>

#include <limits>

#include "level/FloorData.h"
#include "level/LevelCameras.h"
#include "level/LevelFixtures.h"
#include "level/LevelFlybyCameras.h"
#include "level/LevelLights.h"
#include "level/LevelSoundSources.h"
#include "level/LevelStatics.h"
#include "level/TombRaiderLevel.h"

namespace grottix {
namespace {

using namespace levelwriter;

std::unique_ptr<TTombRaiderLevel> load(const LevelDescription& description) {
    auto level = std::make_unique<TTombRaiderLevel>();
    EXPECT_EQ(level->LoadLevelFromBytes(WriteLevel(description), test::FileNameFor(description.code)), 0);
    return level;
}

class PerGame : public ::testing::TestWithParam<int> {};

// The first room holds a point light and a sun (a spot from TR4 on); Chronicles adds a fog bulb.
TEST_P(PerGame, LightsAreReadInTheLayoutOfTheirGame) {
    const int code = GetParam();
    LevelDescription description = test::SmallLevel(code);
    Light point{1024, -512, 2048};
    point.intensity = 0x1042;
    point.colour = {200, 100, 50};
    point.in = 512;
    point.out = 1536;
    Light other{-7, 8, 9};
    other.type = code >= 6 ? 2 : 0;
    other.normal = {1, -2, 3};
    other.direction = {0.5f, -1, 0};
    other.length = 3;
    other.cutOff = 0.25f;
    description.rooms[0].lightList = std::vector<Light>{point, other};
    description.rooms[0].fogBulbList = std::vector<std::array<float, 9>>{{100.6f, -200.4f, 300.5f}};
    const auto lights = ReadLights(*load(description));

    ASSERT_EQ(lights.size(), size_t(code == 7 ? 5 : 4)) << "the second room keeps its patterned lights";
    const TRoomLight& a = lights[0];
    const TRoomLight& b = lights[1];
    EXPECT_EQ(a.room, 0);
    EXPECT_EQ(b.index, 1u);
    EXPECT_EQ(lights.back().room, 1);
    EXPECT_EQ(a.x, 1024);
    EXPECT_EQ(a.y, -512);
    EXPECT_EQ(a.z, 2048);
    EXPECT_EQ(a.kind, TLightKind::Point);
    EXPECT_TRUE(a.problem.empty()) << a.problem;
    EXPECT_EQ(b.x, -7);
    if (code <= 4) {
        EXPECT_EQ(a.type, -1);
        EXPECT_EQ(a.intensity, 0x1042);
        EXPECT_EQ(a.fade, 0x2000);
        EXPECT_EQ(a.intensity2, code >= 3 ? std::optional<int64_t>(0x0800) : std::nullopt);
        EXPECT_EQ(a.fade2, code >= 3 ? std::optional<int64_t>(0x1000) : std::nullopt);
        EXPECT_FALSE(a.colour);
        EXPECT_EQ(b.kind, TLightKind::Point) << "TR1 and TR2 know point lights only";
        return;
    }
    const std::array<double, 3> colour = code == 7 ? std::array<double, 3>{200 / 255.0f, 100 / 255.0f, 50 / 255.0f}
                                                   : std::array<double, 3>{200, 100, 50};
    EXPECT_EQ(a.colour, colour);
    EXPECT_EQ(a.type, 1);
    if (code == 5) {
        EXPECT_EQ(a.intensity, 0x1042);
        EXPECT_EQ(a.fade, 0x2000);
        EXPECT_EQ(b.kind, TLightKind::Sun);
        EXPECT_EQ(b.direction, (std::array<double, 3>{1, -2, 3}));
        EXPECT_FALSE(b.intensity) << "a sun keeps its normal where a point light keeps intensity";
        return;
    }
    EXPECT_EQ(b.kind, TLightKind::Spot);
    EXPECT_EQ(a.in, 512);
    EXPECT_EQ(a.out, 1536);
    EXPECT_EQ(b.direction, (std::array<double, 3>{0.5, -1, 0}));
    if (code == 6) {
        EXPECT_EQ(a.intensity, 0x42) << "one byte";
        EXPECT_EQ(b.length, 3);
        EXPECT_EQ(b.cutOff, 0.25);
        return;
    }
    EXPECT_EQ(b.radiansIn, 3);
    EXPECT_EQ(b.radiansOut, 0.25);
    EXPECT_EQ(a.range, 0x2000);
    const TRoomLight& bulb = lights[2];
    EXPECT_EQ(bulb.kind, TLightKind::FogBulb);
    EXPECT_EQ(bulb.index, 2u) << "numbered on after the room's lights";
    EXPECT_EQ(bulb.x, 101);
    EXPECT_EQ(bulb.y, -200);
    EXPECT_EQ(bulb.z, 301) << "rounded half away from zero";
}

TEST(Lights, TypesAndPositionsTheGameCannotHaveAreNamed) {
    LevelDescription tr3 = test::SmallLevel(5);
    Light unknown;
    unknown.type = 7;
    tr3.rooms[0].lightList = std::vector<Light>{unknown};
    EXPECT_EQ(ReadLights(*load(tr3))[0].problem, "light type 7 is not one its game knows");

    LevelDescription tr5 = test::SmallLevel(7);
    Light nan, far;
    nan.floatPosition = std::array<float, 3>{std::numeric_limits<float>::quiet_NaN(), 0, 0};
    nan.type = 9;
    far.floatPosition = std::array<float, 3>{0, -1e20f, 0};
    tr5.rooms[0].lightList = std::vector<Light>{nan, far};
    const auto lights = ReadLights(*load(tr5));
    EXPECT_EQ(lights[0].x, 0);
    EXPECT_EQ(lights[0].problem, "its position is not a number; light type 9 is not one its game knows");
    EXPECT_EQ(lights[1].y, INT32_MIN);
    EXPECT_EQ(lights[1].problem, "its position lies beyond the level's coordinates");
}

// Mesh 7 has a definition; mesh 8 has none; mesh 9's definition names a mesh past the pointers.
TEST_P(PerGame, StaticMeshesFindTheirDefinitionAndKeepTheirLight) {
    const int code = GetParam();
    LevelDescription description = test::SmallLevel(code);
    description.staticMeshDefinitions = {{7, 1}, {9, 5}};
    description.rooms[0].staticMeshes = {{100, -200, 300, 16384, 7, 0x1234, 0x0567}, {0, 0, 0, 0xE000, 8}, {0, 0, 0, 0, 9}};
    const auto statics = ReadStatics(*load(description));

    ASSERT_EQ(statics.size(), 4u);
    const TRoomStatic& s = statics[0];
    EXPECT_EQ(s.x, 100);
    EXPECT_EQ(s.y, -200);
    EXPECT_EQ(s.z, 300);
    EXPECT_EQ(s.angle, 90);
    EXPECT_EQ(s.meshId, 7);
    EXPECT_EQ(s.definition, 0);
    EXPECT_TRUE(s.problem.empty()) << s.problem;
    EXPECT_EQ(s.intensity, code <= 4 ? std::optional<uint16_t>(0x1234) : std::nullopt);
    EXPECT_EQ(s.intensity2, code == 3 || code == 4 ? std::optional<uint16_t>(0x0567) : std::nullopt);
    EXPECT_EQ(s.colour, code >= 5 ? std::optional<uint16_t>(0x1234) : std::nullopt);
    EXPECT_EQ(statics[1].angle, 315);
    EXPECT_EQ(statics[1].definition, -1);
    EXPECT_EQ(statics[1].problem, "mesh 8 names no static mesh definition");
    EXPECT_EQ(statics[2].definition, 1);
    EXPECT_EQ(statics[2].problem, "its definition's mesh 5 lies past the 2 mesh pointers");
    EXPECT_EQ(statics[3].room, 1);
}

INSTANTIATE_TEST_SUITE_P(EveryLayout, PerGame, ::testing::Values(1, 3, 5, 6, 7));

uint16_t header(int function, bool last) { return uint16_t(function | (last ? 0x8000 : 0)); }
uint16_t action(int what, int parameter, bool last = false) { return uint16_t(what << 10 | parameter | (last ? 0x8000 : 0)); }

// Square (0, 0) shows camera 0 and pulls towards sink 1; square (1, 0) pulls towards sink 3 and
// towards camera 10, which the level lacks, and shows camera 0 again. Camera 2 is used by nothing.
TEST_P(PerGame, CamerasKnowTheTriggerSquaresThatUseThemAndSinksKeepAStrength) {
    LevelDescription description = test::SmallLevel(GetParam());
    description.floorData = std::vector<uint16_t>{0,
                                                  header(kFloorTrigger, true), 0, action(kActionCamera, 0), 0,
                                                  action(kActionSink, 1, true),
                                                  header(kFloorTrigger, true), 0, action(kActionSink, 3),
                                                  action(kActionSink, 10), action(kActionCamera, 0), 0x8000};
    Sector first, second;
    first.floorDataIndex = 1;
    second.floorDataIndex = 6;
    description.rooms[0].xSectors = 2;
    description.rooms[0].zSectors = 1;
    description.rooms[0].sectorList = std::vector<Sector>{first, second};
    description.rooms[1].sectorList = std::vector<Sector>(size_t(description.rooms[1].xSectors) * description.rooms[1].zSectors);
    description.cameras = std::vector<Camera>{{10, 20, 30, 1, 1}, {0, 0, 0, 40, 2}, {0, 0, 0, 99, 0}, {0, 0, 0, 5, 7}};
    const auto level = load(description);
    const auto cameras = ReadCameras(*level, ReadFloorData(*level).triggers);

    ASSERT_EQ(cameras.size(), 4u);
    const TLevelCamera& shown = cameras[0];
    EXPECT_EQ(shown.x, 10);
    EXPECT_EQ(shown.z, 30);
    EXPECT_EQ(shown.room, 1);
    EXPECT_EQ(shown.flags, 1);
    EXPECT_TRUE(shown.camera);
    EXPECT_FALSE(shown.sink);
    ASSERT_EQ(shown.uses.size(), 2u);
    EXPECT_EQ(shown.uses[1].trigger, 1u);
    EXPECT_EQ(shown.uses[1].x, 1);
    EXPECT_FALSE(shown.uses[1].sink);
    EXPECT_TRUE(shown.problem.empty()) << shown.problem;
    EXPECT_TRUE(cameras[1].sink);
    EXPECT_TRUE(cameras[1].problem.empty()) << "room 40 is the strength of a sink's current";
    EXPECT_EQ(cameras[2].problem, "room 99 names no room");
    EXPECT_EQ(cameras[3].problem, "box 7 lies past the 3 boxes");
}

// Sound 0 maps to details past the table, 1 to none, 2 to details 0, 400 past the map of all but
// Chronicles, whose longer map does not carry it.
TEST_P(PerGame, SoundSourcesLookTheirSoundUpInTheSoundMap) {
    const int code = GetParam();
    LevelDescription description = test::SmallLevel(code);
    description.soundMap = std::vector<int16_t>{5, -1, 0};
    description.soundSources = std::vector<SoundSource>{{1, 2, 3, 0}, {0, 0, 0, 1}, {4, 5, 6, 2, 0x40}, {0, 0, 0, 400}};
    const auto sources = ReadSoundSources(*load(description));

    ASSERT_EQ(sources.size(), 4u);
    EXPECT_EQ(sources[0].x, 1);
    EXPECT_EQ(sources[0].details, 5);
    EXPECT_EQ(sources[0].problem, "sound 0 names sound details 5, past the 2 there are");
    EXPECT_EQ(sources[1].problem, "sound 1 is not one this level carries");
    const TSoundSource& played = sources[2];
    EXPECT_EQ(played.z, 6);
    EXPECT_EQ(played.details, 0);
    EXPECT_TRUE(played.alternate);
    EXPECT_FALSE(played.primary);
    EXPECT_TRUE(played.problem.empty()) << played.problem;
    EXPECT_EQ(sources[3].problem, code == 7 ? "sound 400 is not one this level carries"
                                            : "sound 400 lies past the sound map's " + std::to_string(code <= 2 ? 256 : 370) +
                                                  " sounds");
}

TEST(FlybyCameras, TheLastRevelationAndChroniclesKeepEveryField) {
    for (const int code : {6, 7}) {
        LevelDescription description = test::SmallLevel(code);
        description.flybyCameras = std::vector<FlybyCamera>{{1, 2, 3, {4, 5, 6}, 2, 1, 8190, -91, 30, 655, 0x0401, 1},
                                                            {0, 0, 0, {}, 2, 2, 0, 0, 0, 0, 0, 9}};
        const auto flybys = ReadFlybyCameras(*load(description));
        ASSERT_EQ(flybys.size(), 2u);
        const TFlybyCamera& c = flybys[0];
        EXPECT_EQ(c.index, 0u);
        EXPECT_EQ(c.sequence, 2);
        EXPECT_EQ(c.number, 1);
        EXPECT_EQ(c.z, 3);
        EXPECT_EQ(c.lookAt, (std::array<int32_t, 3>{4, 5, 6}));
        EXPECT_EQ(c.fov, 8190);
        EXPECT_EQ(c.roll, -91);
        EXPECT_EQ(c.timer, 30);
        EXPECT_EQ(c.speed, 655);
        EXPECT_EQ(c.flags, 0x0401);
        EXPECT_EQ(c.room, 1u);
        EXPECT_TRUE(c.problem.empty()) << c.problem;
        EXPECT_EQ(flybys[1].problem, "room 9 names no room");
    }
    EXPECT_TRUE(ReadFlybyCameras(*load(test::SmallLevel(5))).empty()) << "TR3 has no fly-by cameras";
}

}  // namespace
}  // namespace grottix
