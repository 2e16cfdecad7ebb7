#include "viewer/ViewPicking.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "viewer/DeviceSetup.h"
#include "viewer/ViewerScene.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

struct TRay64 {
    double o[3], d[3];
};

// The nearest positive distance (in ray lengths) at which the ray meets the triangle, either side.
std::optional<double> hitTriangle(const TRay64& ray, const double* a, const double* b, const double* c) {
    const double e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const double p[3] = {ray.d[1] * e2[2] - ray.d[2] * e2[1], ray.d[2] * e2[0] - ray.d[0] * e2[2], ray.d[0] * e2[1] - ray.d[1] * e2[0]};
    const double det = e1[0] * p[0] + e1[1] * p[1] + e1[2] * p[2];
    if (std::abs(det) < 1e-12) return std::nullopt;
    const double s[3] = {ray.o[0] - a[0], ray.o[1] - a[1], ray.o[2] - a[2]};
    const double u = (s[0] * p[0] + s[1] * p[1] + s[2] * p[2]) / det;
    if (u < 0 || u > 1) return std::nullopt;
    const double q[3] = {s[1] * e1[2] - s[2] * e1[1], s[2] * e1[0] - s[0] * e1[2], s[0] * e1[1] - s[1] * e1[0]};
    const double v = (ray.d[0] * q[0] + ray.d[1] * q[1] + ray.d[2] * q[2]) / det;
    if (v < 0 || u + v > 1) return std::nullopt;
    const double t = (e2[0] * q[0] + e2[1] * q[1] + e2[2] * q[2]) / det;
    return t > 0 ? std::optional(t) : std::nullopt;
}

// Where the ray enters the box (0 when it starts inside), if it meets it.
std::optional<double> hitBox(const TViewRay& ray, const TSceneBox& box) {
    if (box.Empty()) return std::nullopt;
    double enter = 0, leave = std::numeric_limits<double>::infinity();
    const float o[3] = {ray.origin.x, ray.origin.y, ray.origin.z}, d[3] = {ray.direction.x, ray.direction.y, ray.direction.z};
    const float lo[3] = {box.min.x, box.min.y, box.min.z}, hi[3] = {box.max.x, box.max.y, box.max.z};
    for (int i = 0; i < 3; ++i) {
        if (d[i] == 0) {
            if (o[i] < lo[i] || o[i] > hi[i]) return std::nullopt;
            continue;
        }
        double t0 = (double(lo[i]) - o[i]) / d[i], t1 = (double(hi[i]) - o[i]) / d[i];
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
        if (enter > leave) return std::nullopt;
    }
    return enter;
}

bool shown(const std::vector<uint8_t>& roomsShown, int room) {
    return roomsShown.empty() || (room >= 0 && size_t(room) < roomsShown.size() && roomsShown[size_t(room)] != 0);
}

// The nearest room face along the ray (level units, y down), as (distance, room).
std::pair<double, int> nearestRoomFace(const TRay64& ray, const TTombRaiderLevel& level, const std::vector<uint8_t>& roomsShown) {
    std::pair<double, int> best{std::numeric_limits<double>::infinity(), -1};
    for (size_t r = 0; r < level.Rooms.size(); ++r) {
        if (!shown(roomsShown, int(r))) continue;
        const TRoomRecord& room = level.Rooms[r];
        const auto corner = [&](uint16_t index, double* out) {
            if (index >= room.vertices.size()) return false;
            const TRoomVertex& v = room.vertices[index];
            out[0] = double(room.x) + v.x, out[1] = v.y, out[2] = double(room.z) + v.z;
            return true;
        };
        const auto consider = [&](const uint16_t* indices, size_t count) {
            double p[4][3];
            for (size_t i = 0; i < count; ++i)
                if (!corner(indices[i], p[i])) return;
            for (size_t i = 1; i + 1 < count; ++i)
                if (const auto t = hitTriangle(ray, p[0], p[i], p[i + 1]); t && *t < best.first) best = {*t, int(r)};
        };
        for (const TRoomRectangle& face : room.rectangles) consider(face.vertices, 4);
        for (const TRoomTriangle& face : room.triangles) consider(face.vertices, 3);
    }
    return best;
}

}  // namespace

std::optional<TViewRay> ViewRay(const TGrottixViewerScene& scene, int width, int height, double x, double y) {
    if (width < 1 || height < 1) return std::nullopt;
    const TD3DVector eye = scene.GetCameraPosition();
    TD3DMatrix world = TD3DMatrix::Identity();
    world.m[3][0] = -eye.x;
    world.m[3][1] = -eye.y;
    world.m[3][2] = -eye.z;
    const TD3DMatrix transform = world * ViewRotationMatrix(scene.GetCameraRotation(), scene.NearDistance) *
                                 ProjectionMatrix(scene.Projection, scene.NearDistance);
    const std::optional<TD3DMatrix> inverse = Inverse(transform);
    if (!inverse) return std::nullopt;
    // The viewport maps x/w from -1..1 onto 0..width and y/w from 1..-1 onto 0..height.
    const auto ndcX = float(2 * x / width - 1), ndcY = float(1 - 2 * y / height);
    const auto unproject = [&](float depth) {
        // Row vectors: (x, y, z, w) = (ndcX, ndcY, depth, 1) * inverse.
        const float in[4] = {ndcX, ndcY, depth, 1};
        float p[4] = {};
        for (int column = 0; column < 4; ++column)
            for (int k = 0; k < 4; ++k) p[column] += in[k] * inverse->m[k][column];
        return TD3DVector{p[0] / p[3], p[1] / p[3], p[2] / p[3]};
    };
    const TD3DVector nearPoint = unproject(0.0f), fartherPoint = unproject(0.5f);
    const TD3DVector direction = fartherPoint - nearPoint;
    if (!std::isfinite(direction.x) || !std::isfinite(direction.y) || !std::isfinite(direction.z) || direction == TD3DVector{})
        return std::nullopt;
    return TViewRay{scene.Projection.Orthographic ? nearPoint : eye, direction};
}

TPick PickAlongRay(const TViewRay& ray, const TTombRaiderLevel& level, const std::map<int, TSceneBox>& itemBounds,
                   const std::vector<int>& itemRooms, const std::vector<uint8_t>& roomsShown, float scale) {
    // Ray distances do not change when origin and direction go through the same linear map.
    const TRay64 levelRay{{double(ray.origin.x) * scale, -double(ray.origin.y) * scale, double(ray.origin.z) * scale},
                          {double(ray.direction.x) * scale, -double(ray.direction.y) * scale, double(ray.direction.z) * scale}};
    const auto [faceDistance, room] = nearestRoomFace(levelRay, level, roomsShown);
    TPick pick;
    double nearestItem = faceDistance;
    for (const auto& [item, box] : itemBounds) {
        const int itemRoom = item >= 0 && size_t(item) < itemRooms.size() ? itemRooms[size_t(item)] : -1;
        if (!roomsShown.empty() && !shown(roomsShown, itemRoom)) continue;
        if (const auto t = hitBox(ray, box); t && *t <= nearestItem) {
            nearestItem = *t;
            pick.item = item;
        }
    }
    if (pick.item < 0) pick.room = room;
    if (std::isfinite(nearestItem)) pick.point = ray.origin + ray.direction * float(nearestItem);
    return pick;
}

}  // namespace grottix
