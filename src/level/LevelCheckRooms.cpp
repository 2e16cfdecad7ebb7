// The room and table parts of CheckLevel: broken floor data, links to rooms that do not exist, and
// indices past the vertex, texture, sprite and mesh tables.

#include <string>

#include "level/LevelCameras.h"
#include "level/LevelCheckParts.h"
#include "level/LevelMoveables.h"
#include "level/LevelPortals.h"
#include "level/LevelStatics.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

std::string roomText(size_t room) { return "room " + std::to_string(room); }

std::string squareText(size_t room, int x, int z) {
    return roomText(room) + " (" + std::to_string(x) + ", " + std::to_string(z) + ")";
}

TLevelFinding squareFinding(std::string kind, std::string message, size_t room, int x, int z) {
    auto finding = TLevelFinding::Of(std::move(kind), std::move(message));
    finding.room = int(room);
    finding.x = x;
    finding.z = z;
    return finding;
}

TLevelFinding roomFinding(std::string kind, std::string message, size_t room) {
    auto finding = TLevelFinding::Of(std::move(kind), std::move(message));
    finding.room = int(room);
    return finding;
}

// Counts the indices of one room that lie past a table, and says so once, naming the first.
struct TPastTable {
    size_t count = 0;
    std::string first;

    void add(bool past, const std::string& what) {
        if (!past) return;
        if (count++ == 0) first = what;
    }
    void report(std::string kind, const std::string& what, size_t room, std::vector<TLevelFinding>& out) const {
        if (count == 0) return;
        out.push_back(roomFinding(std::move(kind), roomText(room) + ": " + std::to_string(count) + " " + what + " (the first: " + first + ")", room));
    }
};

}  // namespace

void CheckFloorData(const TTombRaiderLevel& level, const TLevelFloorData& floor, std::vector<TLevelFinding>& out) {
    std::vector<bool> reported(floor.entries.size(), false);
    for (size_t r = 0; r < floor.rooms.size(); ++r) {
        const TRoomFloor& room = floor.rooms[r];
        for (size_t s = 0; s < room.sectors.size() && room.zSectors; ++s) {
            const TSectorFloor& square = room.sectors[s];
            if (square.entry < 0 || size_t(square.entry) >= reported.size() || reported[size_t(square.entry)]) continue;
            reported[size_t(square.entry)] = true;
            const TFloorEntry& entry = floor.entries[size_t(square.entry)];
            const int x = int(s / room.zSectors), z = int(s % room.zSectors);
            if (entry.bad)
                out.push_back(squareFinding("floor_data", "floor data at " + std::to_string(entry.index) + " of " +
                                                              squareText(r, x, z) + " breaks off: " + entry.problem, r, x, z));
            if (entry.portal >= 0 && size_t(entry.portal) >= level.Rooms.size())
                out.push_back(squareFinding("portal", "floor data of " + squareText(r, x, z) + " leads to room " +
                                                          std::to_string(entry.portal) + ", which does not exist", r, x, z));
        }
    }
}

namespace {

void checkPortalsAndSquares(const TTombRaiderLevel& level, size_t r, std::vector<TLevelFinding>& out) {
    const TRoomRecord& room = level.Rooms[r];
    const size_t rooms = level.Rooms.size();
    for (const TLevelPortal& portal : ReadPortals(room))
        if (portal.roomBeyond >= rooms)
            out.push_back(roomFinding("portal", roomText(r) + ": a portal leads to room " + std::to_string(portal.roomBeyond) +
                                                    ", which does not exist", r));
    TPastTable aboveBelow;
    const std::vector<TLevelSector> sectors = ReadSectors(room);
    for (size_t s = 0; s < sectors.size() && room.zSectors; ++s) {
        const TLevelSector& sector = sectors[s];
        const bool below = sector.roomBelow != 255 && sector.roomBelow >= rooms;
        const bool above = sector.roomAbove != 255 && sector.roomAbove >= rooms;
        aboveBelow.add(below || above, "(" + std::to_string(s / room.zSectors) + ", " + std::to_string(s % room.zSectors) + ") to room " +
                                           std::to_string(below ? sector.roomBelow : sector.roomAbove));
    }
    aboveBelow.report("portal", "squares name a room below or above that does not exist", r, out);
}

void checkFaces(const TTombRaiderLevel& level, size_t r, std::vector<TLevelFinding>& out) {
    const TRoomRecord& room = level.Rooms[r];
    const size_t vertices = room.vertices.size(), textures = level.ObjectTextures.size();
    TPastTable vertexPast, texturePast, spritePast;
    const auto face = [&](const char* what, size_t i, const uint16_t* corners, size_t n, uint16_t texture) {
        const std::string name = std::string(what) + " " + std::to_string(i);
        bool past = false;
        for (size_t c = 0; c < n; ++c) past = past || corners[c] >= vertices;
        vertexPast.add(past, name);
        // As the import reads a face's texture word.
        texturePast.add((texture & 0x0FFF) >= textures, name + " uses " + std::to_string(texture & 0x0FFF));
    };
    for (size_t i = 0; i < room.rectangles.size(); ++i) face("rectangle", i, room.rectangles[i].vertices, 4, room.rectangles[i].texture);
    for (size_t i = 0; i < room.triangles.size(); ++i) face("triangle", i, room.triangles[i].vertices, 3, room.triangles[i].texture);
    for (size_t i = 0; i < room.sprites.size(); ++i) {
        const TRoomSprite& sprite = room.sprites[i];
        vertexPast.add(sprite.vertex >= vertices, "sprite " + std::to_string(i));
        spritePast.add(sprite.texture >= level.SpriteTextures.count, "sprite " + std::to_string(i) + " uses " + std::to_string(sprite.texture));
    }
    vertexPast.report("geometry", "faces or sprites use vertices past the room's " + std::to_string(vertices), r, out);
    texturePast.report("texture", "faces use object textures past the level's " + std::to_string(textures), r, out);
    spritePast.report("sprite", "sprites use sprite textures past the level's " + std::to_string(level.SpriteTextures.count), r, out);
}

}  // namespace

void CheckRoomReferences(const TTombRaiderLevel& level, std::vector<TLevelFinding>& out) {
    for (size_t r = 0; r < level.Rooms.size(); ++r) {
        checkPortalsAndSquares(level, r, out);
        checkFaces(level, r, out);
    }
}

namespace {

void checkObjectTextureTiles(const TTombRaiderLevel& level, std::vector<TLevelFinding>& out) {
    size_t count = 0;
    std::string first;
    for (size_t i = 0; i < level.ObjectTextures.size(); ++i) {
        const int tile = level.ObjectTextures[i].tile & 0x7FFF;
        if (tile < level.TileCount) continue;
        if (count++ == 0) first = "object texture " + std::to_string(i) + " names tile " + std::to_string(tile);
    }
    if (count)
        out.push_back(TLevelFinding::Of("texture", std::to_string(count) + " object textures name tiles past the level's " +
                                      std::to_string(level.TileCount) + " (the first: " + first + ")"));
}

void checkMeshTables(const TTombRaiderLevel& level, std::vector<TLevelFinding>& out) {
    const size_t pointers = level.MeshPointers.size();
    for (size_t i = 0; i < level.StaticMeshDefinitions.size(); ++i)
        if (level.StaticMeshDefinitions[i].meshIndex >= pointers)
            out.push_back(TLevelFinding::Of("mesh", "static mesh definition " + std::to_string(i) + " (id " +
                                       std::to_string(level.StaticMeshDefinitions[i].objectId) + ") uses mesh " +
                                       std::to_string(level.StaticMeshDefinitions[i].meshIndex) + " of " + std::to_string(pointers)));
    for (const TMoveable& moveable : ReadMoveables(level))
        if (size_t(moveable.firstMesh) + moveable.meshCount > pointers)
            out.push_back(TLevelFinding::Of("mesh", "moveable " + std::to_string(moveable.objectId) + " uses meshes " + std::to_string(moveable.firstMesh) +
                                       " to " + std::to_string(size_t(moveable.firstMesh) + moveable.meshCount - 1) + " of " +
                                       std::to_string(pointers)));
    const uint64_t meshBytes = uint64_t(level.MeshData.size()) * 2;
    size_t past = 0;
    for (const uint32_t pointer : level.MeshPointers) past += pointer >= meshBytes;
    if (past)
        out.push_back(TLevelFinding::Of("mesh", std::to_string(past) + " mesh pointers point past the " + std::to_string(meshBytes) + " bytes of mesh data"));
}

void checkSpriteSequences(const TTombRaiderLevel& level, std::vector<TLevelFinding>& out) {
    const size_t textures = level.SpriteTextures.count;
    for (const TSpriteSequence& sequence : ReadSpriteSequences(level)) {
        const int64_t count = sequence.count;
        if (count > 0 && uint64_t(sequence.first) + uint64_t(count) > textures)
            out.push_back(TLevelFinding::Of("sprite", "sprite sequence " + std::to_string(sequence.objectId) + " uses sprite textures " +
                                         std::to_string(sequence.first) + " to " + std::to_string(sequence.first + count - 1) +
                                         " of " + std::to_string(textures)));
    }
}

}  // namespace

void CheckTables(const TTombRaiderLevel& level, const TLevelFloorData& floor, std::vector<TLevelFinding>& out) {
    checkObjectTextureTiles(level, out);
    checkMeshTables(level, out);
    checkSpriteSequences(level, out);
    for (const TRoomStatic& placed : ReadStatics(level))
        if (!placed.problem.empty())
            out.push_back(roomFinding("mesh", roomText(size_t(placed.room)) + ", static mesh " + std::to_string(placed.index) + ": " +
                                                  placed.problem, size_t(placed.room)));
    for (const TLevelCamera& camera : ReadCameras(level, floor.triggers))
        if (!camera.problem.empty()) out.push_back(TLevelFinding::Of("camera", "camera " + std::to_string(camera.index) + ": " + camera.problem));
}

}  // namespace grottix
