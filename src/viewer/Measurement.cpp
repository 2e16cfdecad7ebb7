#include "viewer/Measurement.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "device/D3DDevice.h"
#include "viewer/SelectionOutline.h"

namespace grottix {

namespace {

constexpr double kSector = 1024, kClick = 256;
constexpr float kCrossReach = 0.4f;  // half a cross's arm, scene units (about 50 level units)

void addLine(std::vector<TD3DLVertex>& lines, TD3DVector a, TD3DVector b) {
    for (const TD3DVector& p : {a, b}) {
        TD3DLVertex v;
        v.x = p.x;
        v.y = p.y;
        v.z = p.z;
        v.color = kMeasureColour;
        lines.push_back(v);
    }
}

void addCross(std::vector<TD3DLVertex>& lines, TD3DVector at) {
    addLine(lines, at - TD3DVector{kCrossReach, 0, 0}, at + TD3DVector{kCrossReach, 0, 0});
    addLine(lines, at - TD3DVector{0, kCrossReach, 0}, at + TD3DVector{0, kCrossReach, 0});
    addLine(lines, at - TD3DVector{0, 0, kCrossReach}, at + TD3DVector{0, 0, kCrossReach});
}

}  // namespace

std::string DescribeMeasure(TD3DVector from, TD3DVector to, float scale) {
    const double dx = (double(to.x) - from.x) * scale, dz = (double(to.z) - from.z) * scale;
    // Scene y points up: a positive difference is a second point higher than the first.
    const double rise = (double(to.y) - from.y) * scale;
    const double distance = std::sqrt(dx * dx + rise * rise + dz * dz);
    char text[200];
    std::snprintf(text, sizeof text, "Distance %.0f units = %.2f sectors = %.1f clicks; ", distance, distance / kSector,
                  distance / kClick);
    std::string described = text;
    const long height = std::lround(std::abs(rise));
    if (height == 0) return described + "level";
    std::snprintf(text, sizeof text, "%ld units (%.1f clicks) %s", height, std::abs(rise) / kClick, rise > 0 ? "up" : "down");
    return described + text;
}

void DrawMeasure(TD3DDevice& device, const TMeasure& measure) {
    std::vector<TD3DLVertex> lines;
    addCross(lines, measure.From);
    if (measure.To) {
        addCross(lines, *measure.To);
        addLine(lines, measure.From, *measure.To);
    }
    DrawLinesOverEverything(device, lines.data(), lines.size());
}

}  // namespace grottix
