// Merging records into polygons: conversion to triangle lists, the merge rules and the appends,
// and splitting a polygon into one record per triangle.

#include <algorithm>

#include "engine/Polygon.h"
#include "engine/QuadrAngle.h"

namespace grottix {

namespace {

// Triangle i of a strip: even triangles keep their order, odd ones swap the last two corners.
std::array<int, 3> stripTriangle(int i) { return i % 2 == 0 ? std::array{i, i + 1, i + 2} : std::array{i, i + 2, i + 1}; }
std::array<int, 3> fanTriangle(int i) { return {0, i + 1, i + 2}; }

bool sameNames(const TTextureNames& a, const TTextureNames& b, int frames) {
    for (int i = 0; i < 2 * std::clamp(frames, 0, 2); ++i)
        if (!SameTextIgnoringCase(a[size_t(i)], b[size_t(i)])) return false;
    return true;
}

}  // namespace

bool TD3DPolygon::ConvertToTriangleList() {
    const int type = Info.PrimitiveType;
    if (type == kTriangleList) return true;
    if (Triangles() > kMaxListTriangles) return false;
    if (type != kTriangleStrip && type != kTriangleFan) return false;
    if (Count == 1 || Count == 2) return false;
    if (Count == 0) return true;
    std::vector<TD3DVector> list;
    list.reserve(size_t(3 * (Count - 2)));
    for (int i = 0; i < Count - 2; ++i)
        for (int corner : type == kTriangleStrip ? stripTriangle(i) : fanTriangle(i)) list.push_back(Positions[size_t(corner)]);
    SetVertexCount(int(list.size()));
    Positions = std::move(list);
    Info.PrimitiveType = kTriangleList;
    BuildVertices(false);
    return true;
}

bool TD3DPolygon::CanMerge(uint8_t kind, TInfoRecordRef record) const {
    const bool p = Prelit;
    const TTextureNames& names = Info.TextureNames;
    switch (kind) {
        case kKindPolygon: {
            const auto* r = RecordAs<TD3DPolygonInfo>(record);
            return r && (p || r->Color == Info.Color) &&
                   (p || (r->TexWidth == Info.TexWidth && r->TexHeight == Info.TexHeight && r->TexLeft == Info.TexLeft &&
                          r->TexTop == Info.TexTop)) &&
                   (p || (r->Planar && Info.Planar)) && Info.VertexCount + r->VertexCount <= kMergeLimit &&
                   r->FrameCount == Info.FrameCount && (p || r->SortDistance == Info.SortDistance) &&
                   (Info.FrameCount <= 1 || r->FramePeriod == Info.FramePeriod) && r->Passes == Info.Passes &&
                   r->CullMode == Info.CullMode && sameNames(names, r->TextureNames, Info.FrameCount);
        }
        case kKindGenericTriangle: {
            const auto* r = RecordAs<TD3DGenericTriangleInfo>(record);
            return r && p && SameTextIgnoringCase(r->TextureName, names[0]) && Info.VertexCount < kAppendLimit;
        }
        case kKindGenericQuadrangle: {
            const auto* r = RecordAs<TD3DGenericQuadrangleInfo>(record);
            return r && p && SameTextIgnoringCase(r->TextureName, names[0]) && Info.VertexCount < kAppendLimit;
        }
        case kKindQuadrangle: {
            const auto* r = RecordAs<TD3DQuadrangleInfo>(record);
            if (!r) return false;
            const int cull = (r->Flags & 1) ? D3DCULL_NONE : D3DCULL_CCW;
            if (r->ScrollU != 0 || r->ScrollV != 0 || !SameTextIgnoringCase(r->TextureName, names[0]) ||
                Info.FrameCount > 1 || Info.VertexCount > kMergeLimit || Info.CullMode != cull)
                return false;
            if (p) return true;
            const bool oneColour = std::all_of(r->Colors.begin(), r->Colors.end(), [&](TColor c) { return c == Info.Color; });
            return oneColour && r->TexWidth == Info.TexWidth && r->TexHeight == Info.TexHeight &&
                   r->TexLeft == Info.TexLeft && r->TexTop == Info.TexTop;
        }
        default:
            return false;
    }
}

bool TD3DPolygon::Merge(uint8_t kind, TInfoRecordRef record) {
    switch (kind) {
        case kKindQuadrangle: {
            const auto* r = RecordAs<TD3DQuadrangleInfo>(record);
            return r && AppendQuadrangle(*r);
        }
        case kKindPolygon: {
            const auto* r = RecordAs<TD3DPolygonInfo>(record);
            return r && AppendPolygon(*r);
        }
        case kKindGenericQuadrangle: {
            const auto* r = RecordAs<TD3DGenericQuadrangleInfo>(record);
            return r && AppendGenericQuadrangle(*r);
        }
        case kKindGenericTriangle: {
            const auto* r = RecordAs<TD3DGenericTriangleInfo>(record);
            return r && AppendGenericTriangle(*r);
        }
        default:
            return false;
    }
}

bool TD3DPolygon::AppendGenericTriangle(const TD3DGenericTriangleInfo& info) {
    if (!ConvertToTriangleList() || Count >= kAppendLimit) return false;
    reserveFor(Count + 3);
    for (const auto& vertex : info.Vertices) append(vertex);
    return true;
}

bool TD3DPolygon::AppendGenericQuadrangle(const TD3DGenericQuadrangleInfo& info) {
    if (!ConvertToTriangleList() || Count >= kAppendLimit) return false;
    reserveFor(Count + 6);
    for (int corner : {0, 1, 2, 1, 3, 2}) append(info.Vertices[size_t(corner)]);
    return true;
}

bool TD3DPolygon::AppendQuadrangle(const TD3DQuadrangleInfo& info) {
    if (!ConvertToTriangleList() || Count >= kAppendLimit) return false;
    const TD3DQuadrAngle quadrangle(Display, info, Texture);
    reserveFor(Count + 6);
    for (int corner : {0, 1, 2, 1, 3, 2}) append(quadrangle.Vertices[size_t(corner)]);
    return true;
}

bool TD3DPolygon::AppendPolygon(const TD3DPolygonInfo& info) {
    if (!ConvertToTriangleList()) return false;
    TD3DPolygon other(Display, info, Textures);
    if (!other.ConvertToTriangleList() || Count + other.Count > kMergeLimit) return false;
    reserveFor(Count + other.Count);
    for (const auto& vertex : other.LitVertices) append(vertex);
    return true;
}

std::vector<TD3DPolygonInfo> TD3DPolygon::Split() const {
    std::vector<TD3DPolygonInfo> records;
    TD3DPolygonInfo header = Info;
    header.Vertices.clear();
    header.VertexCount = 3;
    const auto add = [&](std::array<int, 3> corners, int type, bool mirrored) {
        TD3DPolygonInfo record = header;
        record.PrimitiveType = type;
        for (int corner : corners) record.Vertices.push_back(Positions[size_t(corner)]);
        if (mirrored) {
            record.TexWidth = -record.TexWidth;
            record.TexHeight = -record.TexHeight;
        }
        records.push_back(std::move(record));
    };
    switch (Info.PrimitiveType) {
        case kTriangleList:
            for (int i = 0; i + 3 <= Count; i += 3) add({i, i + 1, i + 2}, kTriangleList, false);
            break;
        case kTriangleStrip:
            // The second triangle of each pair mirrors its generated coordinates to keep the texture's orientation.
            for (int i = 0; i < Count - 2; ++i) add(stripTriangle(i), kTriangleStrip, !Info.Planar && i % 2 == 1);
            break;
        case kTriangleFan:
            for (int i = 0; i < Count - 2; ++i) add(fanTriangle(i), kTriangleStrip, false);
            break;
        default:
            break;
    }
    return records;
}

}  // namespace grottix
