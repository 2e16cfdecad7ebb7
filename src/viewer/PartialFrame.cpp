#include "viewer/PartialFrame.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "viewer/ViewerScene.h"
#include "device/CustomDXDraw.h"
#include "device/D3DDevice.h"
#include "engine/Polygon.h"
#include "import/TextureAnimator.h"

namespace grottix {

namespace {

using TClipPoint = std::array<float, 4>;  // x, y, z, w

TClipPoint toClip(const TD3DLVertex& v, const TD3DMatrix& clip) {
    TClipPoint out{};
    for (size_t j = 0; j < 4; ++j) out[j] = v.x * clip.m[0][j] + v.y * clip.m[1][j] + v.z * clip.m[2][j] + clip.m[3][j];
    return out;
}

// The bounds of what the frame shows of some triangles, in normalized device coordinates.
class TScreenBounds {
public:
    // Cuts the triangle at the near plane (z >= 0) and takes in what lies before it.
    void AddTriangle(const TClipPoint& a, const TClipPoint& b, const TClipPoint& c) {
        const TClipPoint corners[3] = {a, b, c};
        TClipPoint kept[4];
        int count = 0;
        for (int i = 0; i < 3; ++i) {
            const TClipPoint& p = corners[i];
            const TClipPoint& q = corners[(i + 1) % 3];
            if (p[2] >= 0) kept[count++] = p;
            if ((p[2] >= 0) != (q[2] >= 0)) {
                const float t = p[2] / (p[2] - q[2]);
                for (size_t k = 0; k < 4; ++k) kept[count][k] = p[k] + t * (q[k] - p[k]);
                ++count;
            }
        }
        float left = 2, right = -2, bottom = 2, top = -2;
        for (int i = 0; i < count; ++i) {
            // Before the near plane but not before the eye: no telling where it shows.
            if (!(kept[i][3] > 1e-6f)) return Whole();
            const float x = kept[i][0] / kept[i][3], y = kept[i][1] / kept[i][3];
            left = std::min(left, x), right = std::max(right, x);
            bottom = std::min(bottom, y), top = std::max(top, y);
        }
        if (count == 0 || right < -1 || left > 1 || top < -1 || bottom > 1) return;
        add(left, right, bottom, top);
    }
    void Whole() { add(-1, 1, -1, 1); }

    // Whole pixels of a viewport, one more on every side for rounding; empty when nothing shows.
    TD3DRect Pixels(const TD3DViewport7& viewport) const {
        if (left_ > right_) return {};
        const float width = float(viewport.dwWidth), height = float(viewport.dwHeight);
        const auto pixel = [](float value, float size) { return int32_t(value > 0 ? std::min(value, size) : 0.0f); };
        const int32_t x1 = pixel(std::floor((left_ + 1) / 2 * width) - 1, width);
        const int32_t x2 = pixel(std::ceil((right_ + 1) / 2 * width) + 1, width);
        const int32_t y1 = pixel(std::floor((1 - top_) / 2 * height) - 1, height);
        const int32_t y2 = pixel(std::ceil((1 - bottom_) / 2 * height) + 1, height);
        if (x1 >= x2 || y1 >= y2) return {};
        const auto x = int32_t(viewport.dwX), y = int32_t(viewport.dwY);
        return {x + x1, y + y1, x + x2, y + y2};
    }

private:
    void add(float left, float right, float bottom, float top) {
        left_ = std::min(left_, std::max(left, -1.0f));
        right_ = std::max(right_, std::min(right, 1.0f));
        bottom_ = std::min(bottom_, std::max(bottom, -1.0f));
        top_ = std::max(top_, std::min(top, 1.0f));
    }
    float left_ = 2, right_ = -2, bottom_ = 2, top_ = -2;
};

void addPolygon(TScreenBounds& bounds, const TD3DPolygon& polygon, const TD3DMatrix& clip) {
    const int count = std::min<int>(polygon.Count, int(polygon.LitVertices.size()));
    const auto at = [&](int i) { return toClip(polygon.LitVertices[size_t(i)], clip); };
    switch (polygon.Info.PrimitiveType) {
        case kTriangleList:
            for (int i = 0; i + 2 < count; i += 3) bounds.AddTriangle(at(i), at(i + 1), at(i + 2));
            break;
        case kTriangleStrip:
            for (int i = 0; i + 2 < count; ++i) bounds.AddTriangle(at(i), at(i + 1), at(i + 2));
            break;
        case kTriangleFan:
            for (int i = 1; i + 1 < count; ++i) bounds.AddTriangle(at(0), at(i), at(i + 1));
            break;
        default:
            if (count > 0) bounds.Whole();  // drawn some other way: the whole view, to be safe
    }
}

}  // namespace

TD3DRect AnimatedArea(TGrottixViewerScene& scene) {
    const TD3DDevice* device = scene.Display ? scene.Display->D3DDevice7() : nullptr;
    if (!device || !scene.TextureAnimator) return {};
    const TD3DMatrix aroundEye = device->GetTransform(D3DTRANSFORMSTATE_VIEW) * device->GetTransform(D3DTRANSFORMSTATE_PROJECTION);
    const TD3DMatrix inLevel = device->GetTransform(D3DTRANSFORMSTATE_WORLD) * aroundEye;
    TScreenBounds bounds;
    for (TD3DPolygon* polygon : scene.TextureAnimator->Polygons()) {
        // The level's sky is drawn around the eye, not where the level has it.
        if (std::find(scene.LevelSky.begin(), scene.LevelSky.end(), polygon) != scene.LevelSky.end()) {
            if (scene.DrawsLevelSky()) addPolygon(bounds, *polygon, aroundEye);
        } else if (!polygon->Hidden && scene.CellDrawn(polygon->Cell)) {
            addPolygon(bounds, *polygon, inLevel);
        }
    }
    return bounds.Pixels(device->GetViewport());
}

TD3DMatrix AreaProjection(const TD3DMatrix& projection, const TD3DViewport7& whole, const TD3DRect& area) {
    // x' = x W / w + (W - 2 x0 - w) / w, y' = y H / h + (2 y0 + h - H) / h, in the viewports' own
    // coordinates (x0, y0 the area's corner), multiplied through by the clip-space w.
    const float W = float(whole.dwWidth), H = float(whole.dwHeight);
    const float x0 = float(area.x1) - float(whole.dwX), y0 = float(area.y1) - float(whole.dwY);
    const float w = float(area.x2 - area.x1), h = float(area.y2 - area.y1);
    TD3DMatrix onArea = TD3DMatrix::Identity();
    onArea.m[0][0] = W / w;
    onArea.m[3][0] = (W - 2 * x0 - w) / w;
    onArea.m[1][1] = H / h;
    onArea.m[3][1] = (2 * y0 + h - H) / h;
    return projection * onArea;
}

TPartialView::TPartialView(TD3DDevice& device, const TD3DRect& area)
    : device_(device), viewport_(device.GetViewport()), projection_(device.GetTransform(D3DTRANSFORMSTATE_PROJECTION)) {
    const TD3DRect whole{int32_t(viewport_.dwX), int32_t(viewport_.dwY), int32_t(viewport_.dwX + viewport_.dwWidth),
                         int32_t(viewport_.dwY + viewport_.dwHeight)};
    const TD3DRect part{std::max(area.x1, whole.x1), std::max(area.y1, whole.y1), std::min(area.x2, whole.x2),
                        std::min(area.y2, whole.y2)};
    if (part.x1 >= part.x2 || part.y1 >= part.y2 || part == whole) return;
    TD3DViewport7 narrowed = viewport_;
    narrowed.dwX = uint32_t(part.x1);
    narrowed.dwY = uint32_t(part.y1);
    narrowed.dwWidth = uint32_t(part.x2 - part.x1);
    narrowed.dwHeight = uint32_t(part.y2 - part.y1);
    device_.SetViewport(narrowed);
    device_.SetTransform(D3DTRANSFORMSTATE_PROJECTION, AreaProjection(projection_, viewport_, part));
}

TPartialView::~TPartialView() {
    device_.SetViewport(viewport_);
    device_.SetTransform(D3DTRANSFORMSTATE_PROJECTION, projection_);
}

}  // namespace grottix
