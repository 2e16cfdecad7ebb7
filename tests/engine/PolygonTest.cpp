#include <gtest/gtest.h>

#include "engine/Polygon.h"

namespace grottix {
namespace {

TD3DPolygonInfo polygonOf(int type, int vertices) {
    TD3DPolygonInfo info;
    info.PrimitiveType = type;
    info.VertexCount = int16_t(vertices);
    info.Color = RGB(255, 255, 255);
    info.TexWidth = 1;
    info.TexHeight = 1;
    info.FrameCount = 1;
    info.TextureNames[0] = "Wall";
    for (int i = 0; i < vertices; ++i) info.Vertices.push_back({float(i), float(i * 10), float(i * 100)});
    return info;
}

std::vector<float> xs(const TD3DPolygon& polygon) {
    std::vector<float> result;
    for (const auto& p : polygon.Positions) result.push_back(p.x);
    return result;
}

TD3DGenericQuadrangleInfo quadNamed(const std::string& name) {
    TD3DGenericQuadrangleInfo quad;
    for (int i = 0; i < 4; ++i) quad.Vertices[size_t(i)] = {float(i), 0, 0, 0, 0x00102030u + uint32_t(i), 0, float(i) / 4, 0.5f};
    quad.TextureName = name;
    return quad;
}

TEST(Polygon, StripsAndFansConvertToTriangleLists) {
    TD3DPolygon strip(nullptr, polygonOf(kTriangleStrip, 5), {});
    ASSERT_TRUE(strip.ConvertToTriangleList());
    EXPECT_EQ(xs(strip), (std::vector<float>{0, 1, 2, 1, 3, 2, 2, 3, 4}));
    EXPECT_EQ(strip.Info.PrimitiveType, kTriangleList);
    EXPECT_EQ(strip.Info.VertexCount, 9);

    TD3DPolygon fan(nullptr, polygonOf(kTriangleFan, 4), {});
    ASSERT_TRUE(fan.ConvertToTriangleList());
    EXPECT_EQ(xs(fan), (std::vector<float>{0, 1, 2, 0, 2, 3}));

    TD3DPolygon shortStrip(nullptr, polygonOf(kTriangleStrip, 2), {});
    EXPECT_FALSE(shortStrip.ConvertToTriangleList());
    shortStrip.Prelit = true;
    EXPECT_FALSE(shortStrip.AppendGenericQuadrangle(quadNamed("Wall"))) << "nothing can be appended to it";

    TD3DPolygon empty(nullptr, polygonOf(kTriangleStrip, 0), {});
    EXPECT_TRUE(empty.ConvertToTriangleList());
    EXPECT_EQ(empty.Info.PrimitiveType, kTriangleStrip);
}

TEST(Polygon, UnknownPrimitiveTypesBecomeStrips) {
    TD3DPolygon polygon(nullptr, polygonOf(9, 3), {});
    EXPECT_EQ(polygon.Info.PrimitiveType, kTriangleStrip);
}

TEST(Polygon, GenericQuadrangleAppendsSixVerticesInStripOrder) {
    TD3DPolygon polygon(nullptr, polygonOf(kTriangleList, 0), {});
    polygon.Prelit = true;
    ASSERT_TRUE(polygon.AppendGenericQuadrangle(quadNamed("Wall")));
    EXPECT_EQ(xs(polygon), (std::vector<float>{0, 1, 2, 1, 3, 2}));
    EXPECT_EQ(polygon.LitVertices[3].color, 0x00102031u) << "lit vertices travel with their positions";
    EXPECT_EQ(polygon.LitVertices[4].tu, 0.75f);
}

TEST(Polygon, AppendLimitsAtTheEdgeOfTheVertexTable) {
    TD3DPolygon polygon(nullptr, polygonOf(kTriangleList, 0), {});
    polygon.Prelit = true;
    TD3DGenericTriangleInfo triangle;
    triangle.TextureName = "wall";
    polygon.SetVertexCount(32666);
    EXPECT_TRUE(polygon.CanMerge(kKindGenericTriangle, &triangle));
    EXPECT_TRUE(polygon.AppendGenericTriangle(triangle));
    EXPECT_EQ(polygon.Count, 32669);

    polygon.SetVertexCount(32667);
    EXPECT_FALSE(polygon.CanMerge(kKindGenericTriangle, &triangle));
    EXPECT_FALSE(polygon.AppendGenericTriangle(triangle));
    EXPECT_FALSE(polygon.AppendGenericQuadrangle(quadNamed("wall")));
}

TEST(Polygon, VertexStorageGrowsInStepsOf512) {
    TD3DPolygon polygon(nullptr, polygonOf(kTriangleList, 0), {});
    polygon.SetVertexCount(1);
    EXPECT_EQ(polygon.Capacity, 512);
    polygon.SetVertexCount(512);
    EXPECT_EQ(polygon.Capacity, 1024);
    polygon.SetVertexCount(0);
    EXPECT_EQ(polygon.Capacity, 0);
    EXPECT_TRUE(polygon.Positions.empty());
}

TEST(Polygon, MergeRulesForGenericRecords) {
    TD3DPolygon polygon(nullptr, polygonOf(kTriangleList, 0), {});
    const auto quad = quadNamed("WALL");
    EXPECT_FALSE(polygon.CanMerge(kKindGenericQuadrangle, &quad)) << "only prelit polygons take generic records";
    polygon.Prelit = true;
    EXPECT_TRUE(polygon.CanMerge(kKindGenericQuadrangle, &quad)) << "names compare ignoring case";
    const auto other = quadNamed("Floor");
    EXPECT_FALSE(polygon.CanMerge(kKindGenericQuadrangle, &other));
    EXPECT_FALSE(polygon.CanMerge(kKindGenericTriangle, &quad)) << "the kind must match the record";
    EXPECT_FALSE(polygon.CanMerge(77, &quad));
    EXPECT_FALSE(polygon.Merge(77, &quad));
}

TEST(Polygon, PolygonRecordsMergeOnlyWhenTheirHeadersAgree) {
    TD3DPolygon polygon(nullptr, polygonOf(kTriangleList, 3), {});
    auto record = polygonOf(kTriangleStrip, 4);
    EXPECT_FALSE(polygon.CanMerge(kKindPolygon, &record)) << "not planar, not prelit";
    polygon.Info.Planar = true;
    record.Planar = true;
    ASSERT_TRUE(polygon.CanMerge(kKindPolygon, &record));
    ASSERT_TRUE(polygon.Merge(kKindPolygon, &record));
    EXPECT_EQ(polygon.Count, 3 + 6) << "the strip of 4 arrives as two list triangles";
    record.Color = RGB(1, 2, 3);
    EXPECT_FALSE(polygon.CanMerge(kKindPolygon, &record));
    polygon.Prelit = true;
    EXPECT_TRUE(polygon.CanMerge(kKindPolygon, &record)) << "prelit polygons ignore the colour";
    record.Passes = 16;
    EXPECT_FALSE(polygon.CanMerge(kKindPolygon, &record));
}

TEST(Polygon, GeneratedTextureCoordinatesFollowThePrimitiveType) {
    auto info = polygonOf(kTriangleStrip, 4);
    info.TexWidth = 2;
    info.TexLeft = 0.5f;
    TD3DPolygon strip(nullptr, info, {});
    EXPECT_EQ(strip.LitVertices[1].tu, 2.5f);
    EXPECT_EQ(strip.LitVertices[2].tv, 1.0f);
    EXPECT_EQ(strip.LitVertices[3].tu, 2.5f);

    info = polygonOf(kTriangleFan, 4);
    TD3DPolygon fan(nullptr, info, {});
    EXPECT_EQ(fan.LitVertices[0].tu, 0);
    EXPECT_EQ(fan.LitVertices[2].tu, 1);
    EXPECT_EQ(fan.LitVertices[2].tv, 1);
    EXPECT_EQ(fan.LitVertices[3].tu, 0);

    info = polygonOf(kTriangleList, 3);
    info.Planar = true;
    info.TexWidth = 0.5f;
    TD3DPolygon planar(nullptr, info, {});
    EXPECT_EQ(planar.LitVertices[2].tu, 1.0f) << "x = 2 times 0.5";
    EXPECT_EQ(planar.LitVertices[2].tv, 200.0f);
}

TEST(Polygon, PrelitVerticesKeepTheirColoursWhenMoved) {
    TD3DPolygon polygon(nullptr, polygonOf(kTriangleList, 0), {});
    polygon.Prelit = true;
    polygon.AppendGenericQuadrangle(quadNamed("Wall"));
    polygon.Translate({10, 0, 0});
    EXPECT_EQ(polygon.LitVertices[1].x, 11);
    EXPECT_EQ(polygon.LitVertices[1].color, 0x00102031u);
    EXPECT_EQ(polygon.LitVertices[1].tu, 0.25f);
}

TEST(Polygon, SplittingGivesOneRecordPerTriangle) {
    auto info = polygonOf(kTriangleStrip, 5);
    info.TexWidth = 2;
    info.TexHeight = 3;
    TD3DPolygon strip(nullptr, info, {});
    const auto records = strip.Split();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].Vertices[1].x, 3) << "odd strip triangles swap their last corners";
    EXPECT_EQ(records[1].TexWidth, -2) << "and mirror their texture";
    EXPECT_EQ(records[2].TexHeight, 3);
    EXPECT_EQ(records[0].PrimitiveType, kTriangleStrip);

    TD3DPolygon list(nullptr, polygonOf(kTriangleList, 6), {});
    const auto triangles = list.Split();
    ASSERT_EQ(triangles.size(), 2u);
    EXPECT_EQ(triangles[1].Vertices[0].x, 3);
    EXPECT_EQ(triangles[1].PrimitiveType, kTriangleList);
}

TEST(Polygon, DistanceUsesTheFirstMiddleAndLastVertex) {
    TD3DPolygon list(nullptr, polygonOf(kTriangleList, 3), {});
    const float d = list.CalcDistance({1, 10, 100});
    EXPECT_FLOAT_EQ(d, 0) << "the mean of vertices 0, 1 and 2 is vertex 1";
    auto fixed = polygonOf(kTriangleList, 3);
    fixed.SortDistance = 50001;
    TD3DPolygon far(nullptr, fixed, {});
    EXPECT_EQ(far.CalcDistance({}), 50001);
    fixed.SortDistance = 50000;
    TD3DPolygon measured(nullptr, fixed, {});
    EXPECT_LT(measured.CalcDistance({1, 10, 100}), 1);
}

}  // namespace
}  // namespace grottix
