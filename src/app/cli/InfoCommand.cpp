#include "app/cli/InfoCommand.h"

#include <cstdio>
#include <iostream>
#include <sstream>

#include "app/cli/CommandLine.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

std::string hexWord(uint32_t word) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", word);
    return text;
}

void addRoom(RoomCounts& totals, const RoomCounts& room) {
    totals.vertices += room.vertices;
    totals.rectangles += room.rectangles;
    totals.triangles += room.triangles;
    totals.sprites += room.sprites;
    totals.staticMeshes += room.staticMeshes;
}

std::string roomJson(const RoomCounts& r, const RoomFlipSummary* flip = nullptr, const std::string& sectors = "") {
    std::ostringstream out;
    out << "{\"vertices\": " << r.vertices << ", \"rectangles\": " << r.rectangles << ", \"triangles\": " << r.triangles
        << ", \"sprites\": " << r.sprites << ", \"static_meshes\": " << r.staticMeshes;
    if (flip) out << ", " << RoomFlipJsonFields(*flip);
    if (!sectors.empty()) out << ", " << sectors;
    out << "}";
    return out.str();
}

void writeJson(std::ostream& out, const LevelSummary& s) {
    out << "{\n  \"version_word\": \"" << hexWord(s.versionWord) << "\",\n  \"version_code\": " << s.versionCode
        << ",\n  \"tiles\": " << s.tiles << ",\n  \"object_textures\": " << s.objectTextures
        << ",\n  \"sprite_textures\": " << s.spriteTextures << ",\n  \"mesh_data_words\": " << s.meshDataWords
        << ",\n  \"mesh_pointers\": " << s.meshPointers << ",\n  \"static_mesh_definitions\": " << s.staticMeshDefinitions
        << ",\n  \"entities\": " << s.entities;
    if (s.trailer) out << ",\n  \"ng_trailer\": {\"offset\": " << s.trailer->Offset << ", \"bytes\": " << s.trailer->Size << "}";
    out << ",\n  \"rooms\": [";
    for (size_t i = 0; i < s.rooms.size(); ++i)
        out << (i ? ",\n    " : "\n    ")
            << roomJson(s.rooms[i], i < s.flips.rooms.size() ? &s.flips.rooms[i] : nullptr, RoomSectorsJson(s.floor, i));
    out << (s.rooms.empty() ? "]" : "\n  ]") << ",\n  \"totals\": " << roomJson(s.totals) << ",\n  " << FlipJsonFields(s.flips)
        << ",\n  ";
    WriteFloorDataJson(out, s.floor);
    out << ",\n  ";
    WritePlacementsJson(out, s.placements);
    out << ",\n  \"moveables\": " << MoveablesJson(s.moveables, "  ") << ",\n  \"items\": ";
    WriteItemsJson(out, s.items, "  ");
    out << "\n}\n";
}

void writeText(std::ostream& out, const LevelSummary& s) {
    out << "Version word:            " << hexWord(s.versionWord) << " (version code " << s.versionCode << ")\n"
        << "Tiles:                   " << s.tiles << "\n"
        << "Rooms:                   " << s.rooms.size() << "\n"
        << "Object textures:         " << s.objectTextures << "\n"
        << "Sprite textures:         " << s.spriteTextures << "\n"
        << "Mesh data words:         " << s.meshDataWords << "\n"
        << "Mesh pointers:           " << s.meshPointers << "\n"
        << "Static mesh definitions: " << s.staticMeshDefinitions << "\n"
        << "Entities:                " << s.entities << "\n";
    if (s.trailer) out << "NG trailer:              " << s.trailer->Size << " bytes\n";
    out << PlacementsText(s.placements)
        << FloorDataText(s.floor) << "\n";
    char line[128];
    out << " Room  Vertices  Rectangles  Triangles  Sprites  Static meshes\n";
    const auto row = [&](const std::string& label, const RoomCounts& r) {
        std::snprintf(line, sizeof line, "%5s  %8zu  %10zu  %9zu  %7zu  %13zu\n", label.c_str(), r.vertices, r.rectangles,
                      r.triangles, r.sprites, r.staticMeshes);
        out << line;
    };
    for (size_t i = 0; i < s.rooms.size(); ++i) row(std::to_string(i), s.rooms[i]);
    row("Total", s.totals);
    out << "\n" << FlipText(s.flips);
}

}  // namespace

LevelSummary SummarizeLevel(const TTombRaiderLevel& level) {
    LevelSummary s;
    s.versionWord = level.VersionWord;
    s.versionCode = level.VersionCode;
    s.tiles = size_t(level.TileCount);
    s.objectTextures = level.ObjectTextures.size();
    s.spriteTextures = level.SpriteTextures.count;
    s.meshDataWords = level.MeshData.size();
    s.meshPointers = level.MeshPointers.size();
    s.staticMeshDefinitions = level.StaticMeshDefinitions.size();
    s.items = SummarizeItems(level);
    s.entities = s.items.size();
    s.moveables = SummarizeMoveables(level);
    s.trailer = level.Trailer;
    for (const auto& room : level.Rooms) {
        const RoomCounts counts{room.vertices.size(), room.rectangles.size(), room.triangles.size(), room.sprites.size(),
                                room.staticMeshes.size()};
        s.rooms.push_back(counts);
        addRoom(s.totals, counts);
    }
    s.floor = SummarizeFloorData(level);
    s.flips = SummarizeFlips(level);
    s.placements = SummarizePlacements(level, s.floor.triggers);
    return s;
}

void WriteLevelSummary(std::ostream& out, const LevelSummary& summary, bool json) {
    if (json) writeJson(out, summary);
    else writeText(out, summary);
}

std::string FormatLevelSummary(const LevelSummary& summary, bool json) {
    std::ostringstream out;
    WriteLevelSummary(out, summary, json);
    return out.str();
}

int RunInfoCommand(const std::vector<std::string>& args) {
    std::string path;
    bool json = false;
    for (const auto& arg : args) {
        if (arg == "--json") json = true;
        else if (path.empty()) path = arg;
        else {
            std::fprintf(stderr, "grottix-viewer: unexpected argument %s\n", arg.c_str());
            return 2;
        }
    }
    if (path.empty()) {
        std::fputs("grottix-viewer: --info needs a level file\n", stderr);
        return 2;
    }
    if (!CheckInputFile(path)) return 1;
    try {
        TTombRaiderLevel level;
        const uint8_t result = level.LoadLevel(path);
        if (result != kLevelLoaded) {
            std::fprintf(stderr, "File %s: %s\n", path.c_str(), level.LoadErrorMessage(result).c_str());
            return 1;
        }
        // Written as it is formed: a large level's summary is never held whole.
        WriteLevelSummary(std::cout, SummarizeLevel(level), json);
        if (!FlushStandardOutput()) return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "File %s: %s\n", path.c_str(), FailureText(error).c_str());
        return 1;
    }
    return 0;
}

}  // namespace grottix
