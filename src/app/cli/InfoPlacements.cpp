#include "app/cli/InfoPlacements.h"

#include <sstream>

#include "app/cli/InfoJson.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

// Members that a record of some games has and others lack, written only when present.
template <typename T>
void optional(std::ostringstream& out, const char* name, const std::optional<T>& value) {
    if (value) out << ", \"" << name << "\": " << JsonNumber(double(*value));
}

void optional(std::ostringstream& out, const char* name, const std::optional<std::array<double, 3>>& value) {
    if (value)
        out << ", \"" << name << "\": [" << JsonNumber((*value)[0]) << ", " << JsonNumber((*value)[1]) << ", "
            << JsonNumber((*value)[2]) << "]";
}

void problem(std::ostringstream& out, const std::string& text) {
    if (!text.empty()) out << ", \"problem\": " << JsonString(text);
}

std::string lightJson(const TRoomLight& l) {
    std::ostringstream out;
    out << "{\"room\": " << l.room << ", \"index\": " << l.index << ", \"x\": " << l.x << ", \"y\": " << l.y
        << ", \"z\": " << l.z << ", \"kind\": " << JsonString(LightKindName(l.kind));
    if (l.type >= 0) out << ", \"type\": " << l.type;
    optional(out, "intensity", l.intensity);
    optional(out, "intensity2", l.intensity2);
    optional(out, "fade", l.fade);
    optional(out, "fade2", l.fade2);
    optional(out, "colour", l.colour);
    optional(out, "direction", l.direction);
    optional(out, "in", l.in);
    optional(out, "out", l.out);
    optional(out, "length", l.length);
    optional(out, "cut_off", l.cutOff);
    optional(out, "radians_in", l.radiansIn);
    optional(out, "radians_out", l.radiansOut);
    optional(out, "range", l.range);
    problem(out, l.problem);
    out << "}";
    return out.str();
}

std::string staticJson(const TRoomStatic& s) {
    std::ostringstream out;
    out << "{\"room\": " << s.room << ", \"index\": " << s.index << ", \"x\": " << s.x << ", \"y\": " << s.y
        << ", \"z\": " << s.z << ", \"mesh\": " << s.meshId << ", \"angle\": " << JsonNumber(s.angle)
        << ", \"definition\": " << s.definition;
    optional(out, "intensity", s.intensity);
    optional(out, "intensity2", s.intensity2);
    optional(out, "colour", s.colour);
    problem(out, s.problem);
    out << "}";
    return out.str();
}

std::string cameraJson(const TLevelCamera& c) {
    std::ostringstream out;
    out << "{\"index\": " << c.index << ", \"x\": " << c.x << ", \"y\": " << c.y << ", \"z\": " << c.z
        << ", \"room\": " << c.room << ", \"flags\": " << c.flags << ", \"used_by\": [";
    for (size_t i = 0; i < c.uses.size(); ++i)
        out << (i ? ", " : "") << "{\"trigger\": " << c.uses[i].trigger << ", \"room\": " << c.uses[i].room << ", \"x\": " << c.uses[i].x << ", \"z\": " << c.uses[i].z
            << ", \"as\": " << (c.uses[i].sink ? "\"sink\"" : "\"camera\"") << "}";
    out << "]";
    problem(out, c.problem);
    out << "}";
    return out.str();
}

std::string flybyJson(const TFlybyCamera& c) {
    std::ostringstream out;
    out << "{\"sequence\": " << int(c.sequence) << ", \"index\": " << int(c.number) << ", \"x\": " << c.x
        << ", \"y\": " << c.y << ", \"z\": " << c.z << ", \"look_at\": [" << c.lookAt[0] << ", " << c.lookAt[1] << ", "
        << c.lookAt[2] << "], \"fov\": " << c.fov << ", \"roll\": " << c.roll << ", \"timer\": " << c.timer
        << ", \"speed\": " << c.speed << ", \"flags\": " << c.flags << ", \"room\": " << c.room;
    problem(out, c.problem);
    out << "}";
    return out.str();
}

std::string soundJson(const TSoundSource& s) {
    std::ostringstream out;
    out << "{\"index\": " << s.index << ", \"x\": " << s.x << ", \"y\": " << s.y << ", \"z\": " << s.z
        << ", \"sample\": " << s.sound << ", \"flags\": " << s.flags << ", \"details\": " << s.details;
    problem(out, s.problem);
    out << "}";
    return out.str();
}

template <typename T, typename Format>
void array(std::ostream& out, const char* name, const std::vector<T>& records, Format format) {
    out << "\"" << name << "\": [";
    for (size_t i = 0; i < records.size(); ++i) out << (i ? ",\n    " : "\n    ") << format(records[i]);
    out << (records.empty() ? "]" : "\n  ]");
}

// "Cameras:                 3", and " (1 with a problem, the first: camera 2: room 40 names no room)".
template <typename T, typename Name>
std::string countLine(const char* label, const std::vector<T>& records, Name name) {
    std::string line = label;
    line.resize(25, ' ');
    line += std::to_string(records.size());
    size_t flagged = 0;
    const T* first = nullptr;
    for (const T& record : records)
        if (!record.problem.empty() && flagged++ == 0) first = &record;
    if (first)
        line += " (" + std::to_string(flagged) + (flagged == 1 ? " with a problem" : " with problems") +
                ", the first: " + name(*first) + ": " + first->problem + ")";
    return line + "\n";
}

std::string inRoom(const char* what, int room, size_t index) {
    return "room " + std::to_string(room) + " " + what + " " + std::to_string(index);
}

}  // namespace

PlacementSummary SummarizePlacements(const TTombRaiderLevel& level, const std::vector<TLevelTrigger>& triggers) {
    PlacementSummary s;
    s.flybys = level.VersionCode >= 6;
    s.lights = ReadLights(level);
    s.statics = ReadStatics(level);
    s.cameras = ReadCameras(level, triggers);
    s.flybyCameras = ReadFlybyCameras(level);
    s.soundSources = ReadSoundSources(level);
    return s;
}

void WritePlacementsJson(std::ostream& out, const PlacementSummary& p) {
    array(out, "lights", p.lights, lightJson);
    out << ",\n  ";
    array(out, "statics", p.statics, staticJson);
    out << ",\n  ";
    array(out, "cameras", p.cameras, cameraJson);
    if (p.flybys) {
        out << ",\n  ";
        array(out, "flyby_cameras", p.flybyCameras, flybyJson);
    }
    out << ",\n  ";
    array(out, "sound_sources", p.soundSources, soundJson);
}

std::string PlacementsText(const PlacementSummary& p) {
    std::string out = countLine("Lights:", p.lights, [](const TRoomLight& l) { return inRoom("light", l.room, l.index); });
    out += countLine("Static meshes:", p.statics, [](const TRoomStatic& s) { return inRoom("static mesh", s.room, s.index); });
    out += countLine("Cameras:", p.cameras, [](const TLevelCamera& c) { return "camera " + std::to_string(c.index); });
    if (p.flybys)
        out += countLine("Fly-by cameras:", p.flybyCameras,
                         [](const TFlybyCamera& c) { return "fly-by camera " + std::to_string(c.index); });
    out += countLine("Sound sources:", p.soundSources,
                     [](const TSoundSource& s) { return "sound source " + std::to_string(s.index); });
    return out;
}

}  // namespace grottix
