#include "import/TextureAnimator.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/Polygon.h"
#include "engine/Scene.h"

namespace grottix {

namespace {

// The corner of the face behind each vertex, as polygons keep quadrangles (slots 0, 1, 2, 1, 3, 2
// of a record holding corners 0, 1, 3, 2) and triangles.
constexpr int kQuadrangleCorners[6] = {0, 1, 3, 1, 2, 3};
constexpr int kTriangleCorners[3] = {0, 1, 2};

}  // namespace

int TTextureAnimator::AddRange(std::vector<TFrame> frames) {
    ranges_.push_back(std::move(frames));
    return int(ranges_.size()) - 1;
}

void TTextureAnimator::AddFace(int range, int phase, TD3DPolygon* polygon, int firstVertex, bool quadrangle) {
    auto& polygons = groups_[{range, phase}].polygons;
    if (polygons.empty() || polygons.back().first != polygon) polygons.push_back({polygon, {}});
    polygons.back().second.push_back({firstVertex, quadrangle});
}

void TTextureAnimator::Advance(TD3DScene& scene, double seconds) {
    if (!std::isfinite(seconds)) return;
    if (start_ < 0) start_ = seconds;
    const double elapsed = seconds - start_;
    const int step = elapsed > 0 ? int(std::fmod(std::floor(elapsed * kStepsPerSecond), 1 << 30)) : 0;
    if (step == step_) return;
    step_ = step;
    for (auto& [key, group] : groups_) show(scene, key.first, key.second, group);
}

double TTextureAnimator::SecondsToNextStep(double seconds) const {
    if (groups_.empty() || !std::isfinite(seconds)) return std::numeric_limits<double>::infinity();
    if (start_ < 0) return 0;
    const double elapsed = std::max(seconds - start_, 0.0);
    return (std::floor(elapsed * kStepsPerSecond) + 1) / kStepsPerSecond - elapsed;
}

std::vector<TD3DPolygon*> TTextureAnimator::Polygons() const {
    std::vector<TD3DPolygon*> polygons;
    for (const auto& [key, group] : groups_)
        for (const auto& [polygon, faces] : group.polygons) polygons.push_back(polygon);
    return polygons;
}

void TTextureAnimator::show(TD3DScene& scene, int range, int phase, TGroup& group) {
    const auto& frames = ranges_[size_t(range)];
    const TFrame& frame = frames[size_t(phase + step_) % frames.size()];
    if (frame.name.empty()) return;
    std::string name = frame.name;
    TDirect3DTexture2* texture = scene.FindTexture(name);
    for (auto& [polygon, faces] : group.polygons) {
        polygon->SetPrimaryTexture(name, texture);
        for (const TFace& face : faces) {
            const int* corners = face.quadrangle ? kQuadrangleCorners : kTriangleCorners;
            const int count = face.quadrangle ? 6 : 3;
            for (int i = 0; i < count && face.firstVertex + i < polygon->Count; ++i) {
                TD3DLVertex& v = polygon->LitVertices[size_t(face.firstVertex + i)];
                v.tu = frame.corners[size_t(corners[i])][0];
                v.tv = frame.corners[size_t(corners[i])][1];
            }
        }
    }
}

}  // namespace grottix
