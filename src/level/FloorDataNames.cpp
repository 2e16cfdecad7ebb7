#include "level/FloorDataNames.h"

#include <array>

#include "level/ObjectNames.h"

namespace grottix {

namespace {

constexpr std::array<const char*, 17> kTriggerTypes = {
    "trigger", "pad", "switch", "key", "pick-up", "heavy", "anti-pad", "combat", "dummy",
    "anti-trigger", "heavy switch", "heavy anti-trigger", "monkey", "skeleton", "tightrope", "crawl", "climb"};

constexpr std::array<const char*, 12> kTriangulations = {
    "floor split NW-SE", "floor split NE-SW", "ceiling split NW-SE", "ceiling split NE-SW",
    "floor split NW-SE, portal SE", "floor split NW-SE, portal NW", "floor split NE-SW, portal SW",
    "floor split NE-SW, portal NE", "ceiling split NW-SE, portal SE", "ceiling split NW-SE, portal NW",
    "ceiling split NE-SW, portal SW", "ceiling split NE-SW, portal NE"};

std::string slopeText(const char* what, uint16_t data) {
    return std::string(what) + " slope x " + std::to_string(int8_t(data & 0xFF)) + ", z " +
           std::to_string(int8_t(data >> 8));
}

std::string climbText(uint8_t sides) {
    std::string text = "climbable";
    if (sides & kClimbPlusZ) text += " +z";
    if (sides & kClimbPlusX) text += " +x";
    if (sides & kClimbMinusZ) text += " -z";
    if (sides & kClimbMinusX) text += " -x";
    return text;
}

}  // namespace

std::string TriggerTypeName(int versionCode, int type) {
    if (type >= 0 && size_t(type) < kTriggerTypes.size() && TriggerTypeKnown(versionCode, type))
        return kTriggerTypes[size_t(type)];
    return "type " + std::to_string(type);
}

std::string DescribeItem(int versionCode, int item, const std::vector<TLevelEntity>& entities) {
    // Appended piece by piece: GCC 12 at -O3 misreads a literal put before a string as an overlapping copy.
    std::string text = "#";
    text += std::to_string(item);
    if (item >= 0 && size_t(item) < entities.size()) {
        text += ' ';
        text += ObjectName(versionCode, entities[size_t(item)].type);
    }
    return text;
}

std::string DescribeTriggerAction(int versionCode, const TTriggerStep& step, const std::vector<TLevelEntity>& entities) {
    const std::string n = std::to_string(step.parameter);
    switch (step.action) {
        case kActionItem: return "activate " + DescribeItem(versionCode, step.parameter, entities);
        case kActionCamera: return "camera " + n;
        case kActionSink: return "sink " + n;
        case kActionFlipMap: return "flip map " + n;
        case kActionFlipOn: return "flip on " + n;
        case kActionFlipOff: return "flip off " + n;
        case kActionLookAt: return "look at " + DescribeItem(versionCode, step.parameter, entities);
        case kActionEndLevel: return "end level";
        case kActionMusic: return "music track " + n;
        case kActionEffect: return "effect " + n;
        case kActionSecret: return "secret " + n;
        case kActionClearBodies: return "clear bodies";
        case kActionFlyby: return "fly-by " + n;
        case kActionCutscene: return "cut-scene " + n;
        default: return "action " + std::to_string(step.action) + " " + n;
    }
}

std::string DescribeSectorFunction(int versionCode, const TSectorFunction& f) {
    const uint16_t data = f.data.empty() ? 0 : f.data.front();
    switch (f.function) {
        case kFloorPortal: return "portal to room " + std::to_string(data);
        case kFloorSlope: return slopeText("floor", data);
        case kCeilingSlope: return slopeText("ceiling", data);
        case kFloorTrigger: return TriggerTypeName(versionCode, f.subFunction);
        case kFloorKill: return "kill";
        case kFloorClimb: return climbText(f.subFunction);
        case kFloorMonkeySwing: return "monkey-swing";
        case kFloorSpecialA: return versionCode == 5 ? "minecart turns left" : "beetle";
        case kFloorSpecialB: return versionCode == 5 ? "minecart turns right" : "trigger triggerer";
        default: break;
    }
    if (f.function >= kFirstTriangulation && f.function <= kLastTriangulation)
        return kTriangulations[size_t(f.function - kFirstTriangulation)];
    return "function " + std::to_string(f.function);
}

std::string TriggerMaskText(uint8_t mask) {
    std::string text;
    for (int bit = 0; bit < 5; ++bit) text += (mask >> bit) & 1 ? '1' : '0';
    return text;
}

bool TriggerActsOnItem(const TLevelTrigger& trigger, int item) {
    for (const TTriggerStep& step : trigger.actions)
        if ((step.action == kActionItem || step.action == kActionLookAt) && step.parameter == item) return true;
    return false;
}

}  // namespace grottix
