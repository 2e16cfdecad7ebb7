#include <gtest/gtest.h>

#include <numbers>
#include <tuple>

#include "engine/Polygon.h"
#include "engine/QuadrAngle.h"
#include "engine/StubObject.h"
#include "engine/WorldFileFixtures.h"

namespace grottix {
namespace {

using test::StreamBuilder;

void load(TD3DScene& scene, const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    scene.LoadFromStream(stream, 119);
}

template <typename T>
T& objectAt(TD3DScene& scene, size_t index) {
    return dynamic_cast<T&>(*scene.Objects.at(index).Item);
}

auto lightFields(const TD3DSceneLightInfo& l) {
    return std::make_tuple(l.ID, l.Color, l.SpecularColor, l.Range, l.RangeFactor, l.X, l.Y, l.Z, l.LightKind);
}

// A world of version 119 with a quadrangle, a stub, a polygon, a data item, an action and a light,
// written field by field as the layout lists them, every field a value of its own.
std::vector<uint8_t> handBuiltWorld() {
    StreamBuilder s;
    s.text("D3DWORLD").put<int32_t>(119).put<int32_t>(14).text("gray8\r\nwhite\r\n").put<int32_t>(3);
    s.put<uint8_t>(2).put<int16_t>(1).put<int16_t>(0).put<int16_t>(-1);  // quadrangle: gray8
    s.put<int32_t>(21);
    for (int i = 0; i < 12; ++i) s.put<float>(float(i));
    s.put<int32_t>(60001).put<uint8_t>(1);
    for (float f : {0.5f, 0.25f, 0.125f, 0.0625f, 0.75f, -0.5f}) s.put(f);
    s.put<uint32_t>(0x010203).put<uint32_t>(0x040506).put<uint32_t>(0x070809).put<uint32_t>(0x0A0B0C).put<uint8_t>(1);
    s.put<uint8_t>(3).put<int16_t>(1).put<int16_t>(1).put<int16_t>(-1);  // stub: white
    s.put<int32_t>(22);
    for (float f : {1.f, 2.f, 3.f, 4.f, 5.f}) s.put(f);
    s.put<int32_t>(7).put<uint32_t>(0x112233).put<uint8_t>(3).put<int16_t>(1).put<float>(2.5f);
    for (float f : {1.f, 0.5f, 0.f, 0.25f}) s.put(f);
    s.put<uint8_t>(1);
    s.put<uint8_t>(4).put<int16_t>(1).put<int16_t>(0).put<int16_t>(1);  // polygon: gray8 over white
    s.put<uint8_t>(0).put<int32_t>(23).put<uint32_t>(0x445566);
    for (float f : {1.f, 1.f, 0.f, 0.f}) s.put(f);
    s.put<uint8_t>(0).put<int32_t>(9).put<int16_t>(3).put<int16_t>(1).put<float>(0.f).put<int32_t>(4).put<uint8_t>(0).put<int32_t>(1);
    for (int i = 0; i < 9; ++i) s.put<float>(float(10 + i));
    s.put<int32_t>(0);                                                     // reserved
    s.put<int32_t>(1).put<uint8_t>(5).text("x.dat").put<int32_t>(24);      // data items
    s.put<int32_t>(0);                                                     // name list
    s.put<int32_t>(1).put<uint8_t>(211).zeros(3).put<int32_t>(25).put<int32_t>(-1).put<int32_t>(21);
    for (float f : {1.f, 2.f, 3.f, 0.f, 0.f, 0.f}) s.put(f);
    s.put<double>(4).put<uint8_t>(0).text("abcdef");                       // action
    s.put<int32_t>(1).put<int32_t>(26).put<uint32_t>(0xFF).put<uint32_t>(0xFF0000);
    for (float f : {8.f, 2.f, 1.f, 2.f, 3.f}) s.put(f);
    s.put<uint8_t>(0);                                                     // light
    return s.bytes();
}

TEST(WorldFile, AHandBuiltWorldReadsIntoItsFieldsAndIsWrittenBackByteForByte) {
    TD3DScene scene{nullptr};
    const std::vector<uint8_t> original = handBuiltWorld();
    load(scene, original);
    ASSERT_EQ(scene.Objects.size(), 3u);

    const TD3DQuadrangleInfo& quad = objectAt<TD3DQuadrAngle>(scene, 0).Info;
    EXPECT_EQ(quad.TextureName, "gray8");
    EXPECT_EQ(quad.Corners[3], (TD3DVector{9, 10, 11}));
    EXPECT_EQ(std::tie(quad.ID, quad.SortDistance, quad.Flags, quad.ScrollV, quad.Colors[3], quad.ColorKeyed),
              std::make_tuple(21, 60001, uint8_t(1), -0.5f, TColor(0x0A0B0C), true));
    const TD3DStubObjectInfo& stub = objectAt<TD3DStubObject>(scene, 1).Info;
    EXPECT_EQ(std::tie(stub.ID, stub.Height, stub.SortDistance, stub.Color, stub.Passes, stub.FramePeriod, stub.TexHeight),
              std::make_tuple(22, 5.f, 7, TColor(0x112233), uint8_t(3), 2.5f, 0.5f));
    EXPECT_TRUE(stub.FixedFacing);
    const TD3DPolygon& polygon = objectAt<TD3DPolygon>(scene, 2);
    EXPECT_EQ(polygon.Info.TextureNames, (TTextureNames{"gray8", "white", "", ""}));
    EXPECT_EQ(std::tie(polygon.Info.ID, polygon.Info.SortDistance, polygon.Count, polygon.Info.CullMode),
              std::make_tuple(23, 9, 3, 1));
    EXPECT_FALSE(polygon.Prelit);
    EXPECT_EQ(polygon.Positions[2], (TD3DVector{16, 17, 18}));
    ASSERT_EQ(scene.DataItems.size(), 1u);
    EXPECT_EQ(scene.DataItems[0].Name, "x.dat");
    EXPECT_EQ(scene.DataItems[0].Item->GetID(), 24);
    ASSERT_EQ(scene.Actions.size(), 1u);
    EXPECT_EQ(std::tie(scene.Actions[0].Item->Info.TargetKind, scene.Actions[0].Item->Info.Period), std::make_tuple(-1, 4.0));
    ASSERT_EQ(scene.Lights.size(), 1u);
    EXPECT_EQ(lightFields(scene.Lights[0]->Info), lightFields({26, 0xFF, 0xFF0000, 8, 2, 1, 2, 3, 0}));

    EXPECT_EQ(test::worldBytes(scene), original);
}

TEST(WorldFile, EveryItemKindComesBackAsItWasWritten) {
    TD3DScene original{nullptr};
    test::fillWithEveryItem(original);
    original.AddAction(test::sampleAction(17, true));
    TD3DScene copy{nullptr};
    load(copy, test::worldBytes(original));

    ASSERT_EQ(copy.Objects.size(), original.Objects.size());
    for (size_t i = 0; i < copy.Objects.size(); ++i) {
        EXPECT_EQ(copy.Objects[i].Name, original.Objects[i].Name);
        EXPECT_TRUE(copy.Objects[i].Item->IsSameObject(*original.Objects[i].Item)) << "object " << i;
    }
    const TD3DPolygon& prelit = objectAt<TD3DPolygon>(copy, 3);
    const TD3DPolygon& before = objectAt<TD3DPolygon>(original, 3);
    ASSERT_TRUE(prelit.Prelit);
    ASSERT_EQ(prelit.Count, 3);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(std::tie(prelit.LitVertices[i].color, prelit.LitVertices[i].specular, prelit.LitVertices[i].tu),
                  std::tie(before.LitVertices[i].color, before.LitVertices[i].specular, before.LitVertices[i].tu));
    EXPECT_EQ(lightFields(copy.Lights.at(0)->Info), lightFields(original.Lights[0]->Info));
    EXPECT_EQ(copy.DataItems.at(0).Name, "notes.dat");
    ASSERT_EQ(copy.Actions.size(), 1u) << "finished actions are not written";
    EXPECT_EQ(copy.Actions[0].Item->Info.ToBytes(), original.Actions[0].Item->Info.ToBytes());
}

TEST(WorldFile, ASkyQuadrangleWritesItsNameAsTheOnlyLineAndReferencesIt) {
    TD3DScene scene{nullptr};
    scene.AddTextureFromBitmap("SKY", TBitmap(8, 8, TPixelFormat::pf24bit));
    const auto quad = test::sampleQuadrangle("SKY");
    scene.AddObject(kKindQuadrangle, &quad);
    const std::vector<uint8_t> bytes = test::worldBytes(scene);
    const std::vector<uint8_t> head = StreamBuilder()
                                          .text("D3DWORLD").put<int32_t>(119).put<int32_t>(5).text("SKY\r\n")
                                          .put<int32_t>(1).put<uint8_t>(2).put<int16_t>(1).put<int16_t>(0).put<int16_t>(-1)
                                          .bytes();
    ASSERT_EQ(bytes.size(), head.size() + 98 + 5 * 4) << "98 bytes of fields, then the reserved word and four empty sections";
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(head.size())), head);
}

TEST(WorldFile, AStubIsWrittenWithTheFramesItUsesAndKeepsTheirNames) {
    TD3DScene scene{nullptr};
    const auto info = test::sampleStub({"white", "gray4", "", "black"});
    auto& stub = static_cast<TD3DStubObject&>(*scene.AddObject(kKindStub, &info));
    TD3DScene copy{nullptr};
    load(copy, test::worldBytes(scene));
    EXPECT_EQ(stub.Info.FrameCount, 1) << "the second frame has no primary name";
    const TD3DStubObjectInfo& read = objectAt<TD3DStubObject>(copy, 0).Info;
    EXPECT_EQ(read.FrameCount, 1);
    EXPECT_EQ(read.TextureNames, (TTextureNames{"white", "gray4", "", ""}));

    // Names whose textures could not be had are kept too: the stub draws its own colour meanwhile.
    TD3DScene missing{nullptr};
    const auto lost = test::sampleStub({"/no/such/texture.bmp", "", "", ""});
    missing.AddObject(kKindStub, &lost);
    TD3DScene reread{nullptr};
    load(reread, test::worldBytes(missing));
    EXPECT_EQ(objectAt<TD3DStubObject>(reread, 0).Info.TextureNames[0], "/no/such/texture.bmp");
}

TEST(WorldFile, OlderVersionsAndLayoutsRead) {
    // Version 107: polygon records have no prelit byte.
    StreamBuilder v107;
    v107.text("D3DWORLD").put<int32_t>(107).put<int32_t>(0).put<int32_t>(1).put<uint8_t>(4).put<int16_t>(0);
    v107.put<int32_t>(5).put<uint32_t>(0xFFFFFF).zeros(16).put<uint8_t>(0).put<int32_t>(0).put<int16_t>(3).put<int16_t>(0);
    v107.put<float>(0).put<int32_t>(4).put<uint8_t>(0).put<int32_t>(1);
    for (int i = 0; i < 9; ++i) v107.put<float>(float(i));
    v107.put<int32_t>(0);
    TD3DScene scene{nullptr};
    load(scene, v107.bytes());
    ASSERT_EQ(scene.Objects.size(), 1u);
    EXPECT_FALSE(objectAt<TD3DPolygon>(scene, 0).Prelit);
    EXPECT_EQ(objectAt<TD3DPolygon>(scene, 0).Positions[1], (TD3DVector{3, 4, 5}));
    EXPECT_TRUE(scene.DataItems.empty() && scene.Actions.empty() && scene.Lights.empty());

    // Version 0: no signature; every object carries its names.
    StreamBuilder old;
    old.put<int32_t>(3).put<uint8_t>(0);
    old.put<uint8_t>(2).put<uint8_t>(5).text("gray8").zeros(98);
    old.put<uint8_t>(3).put<uint8_t>(5).text("white").put<uint8_t>(2).put<uint8_t>(5).text("black").put<uint8_t>(5).text("gray4");
    old.put<uint8_t>(0).zeros(56);
    old.put<int32_t>(0).put<int32_t>(1).put<uint8_t>(3).text("d.x").put<int32_t>(8);
    load(scene, old.bytes());
    ASSERT_EQ(scene.Objects.size(), 2u);
    EXPECT_EQ(objectAt<TD3DQuadrAngle>(scene, 0).Info.TextureName, "gray8");
    EXPECT_EQ(objectAt<TD3DStubObject>(scene, 1).Info.TextureNames, (TTextureNames{"white", "black", "gray4", ""}));
    EXPECT_EQ(scene.DataItems.at(0).Item->GetID(), 8);
}

TEST(WorldFile, ShortStreamsAreEmptyWorldsAndLaterSectionsAreOptional) {
    TD3DScene scene{nullptr};
    test::fillWithEveryItem(scene);
    load(scene, {'D', '3', 'D', 'W', 'O', 'R', 'L', 'D'});
    EXPECT_TRUE(scene.Objects.empty());

    const auto quad = test::sampleQuadrangle("");
    scene.AddObject(kKindQuadrangle, &quad);
    std::vector<uint8_t> bytes = test::worldBytes(scene);
    bytes.resize(bytes.size() - 16);  // ends right after the reserved word
    load(scene, bytes);
    EXPECT_EQ(scene.Objects.size(), 1u);
    EXPECT_TRUE(scene.DataItems.empty() && scene.Actions.empty() && scene.Lights.empty());
}

TEST(WorldFile, ReadWorldPlacesEveryObjectAndAddsToWhatIsThere) {
    TD3DScene scene{nullptr};
    const auto quad = test::sampleQuadrangle("gray8");
    scene.AddObject(kKindQuadrangle, &quad);
    TMemoryStream stream(test::worldBytes(scene));
    scene.ReadWorld(stream, {0, std::numbers::pi_v<float>, 0}, {10, 0, 0});
    ASSERT_EQ(scene.Objects.size(), 2u);
    const TD3DVector corner = objectAt<TD3DQuadrAngle>(scene, 1).Info.Corners[1];  // (1, 1, 0) turned half round
    EXPECT_NEAR(corner.x, 9, 1e-5);
    EXPECT_NEAR(corner.y, 1, 1e-5);
    EXPECT_NEAR(corner.z, 0, 1e-5);
    EXPECT_EQ(scene.Shared->Textures.size(), 1u);
}

}  // namespace
}  // namespace grottix
