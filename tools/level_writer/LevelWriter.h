#pragma once
// Writes Tomb Raider level files of all seven version codes from a small description. Used by the
// tests (as fixtures that check the reader) and by the demo level generator. Sections the viewer
// does not interpret are written with chosen counts and a recognisable byte pattern.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace grottix::levelwriter {

struct Vertex {
    int16_t x = 0, y = 0, z = 0;
    int16_t lighting = 0;
    uint16_t attributes = 16;
    uint16_t colour = 0x7FFF;  // 15-bit, codes 3-6
};

struct LayerVertex {
    float x = 0, y = 0, z = 0;
    uint8_t blue = 0, green = 0, red = 0, alpha = 255;
};

struct Rectangle {
    std::array<uint16_t, 4> vertices{};
    uint16_t texture = 0;
};
struct Triangle {
    std::array<uint16_t, 3> vertices{};
    uint16_t texture = 0;
};
struct Sprite {
    uint16_t vertex = 0;
    uint16_t texture = 0;
};
struct StaticMesh {
    int32_t x = 0, y = 0, z = 0;
    uint16_t rotation = 0;
    uint16_t meshId = 0;
    uint16_t intensity1 = 0x1111, intensity2 = 0x2222;  // intensity2 from code 3 on
};

// A room light, written in the layout of the level's code. Codes 1-2: position, intensity, fade;
// codes 3-4: both intensities and fades; code 5: colour, type, then intensity and fade, or a sun's
// normal; code 6: colour, type, intensity (its low byte), in, out, length, cut-off, direction; code 7:
// the position as floats (floatPosition when given), colour / 255, in, out, length and cut-off as the
// in and out radians, fade as the range, direction, the position and direction again as integers, type.
struct Light {
    int32_t x = 0, y = 0, z = 0;
    std::optional<std::array<float, 3>> floatPosition{};
    uint8_t type = 1;
    std::array<uint8_t, 3> colour{255, 255, 255};
    int32_t intensity = 0x1000, intensity2 = 0x0800;
    uint32_t fade = 0x2000, fade2 = 0x1000;
    std::array<int16_t, 3> normal{};
    float in = 0, out = 0, length = 0, cutOff = 0;
    std::array<float, 3> direction{};
};

// A portal as stored: the room beyond, the normal, four corners relative to the room's origin.
struct Portal {
    uint16_t room = 0;
    std::array<int16_t, 3> normal{};
    std::array<std::array<int16_t, 3>, 4> corners{};
};

// A sector record as stored; floor and ceiling in clicks of 256 units, -127 a wall.
struct Sector {
    uint16_t floorDataIndex = 0, box = 0xFFFF;
    uint8_t roomBelow = 255;
    int8_t floor = 0;
    uint8_t roomAbove = 255;
    int8_t ceiling = -4;
};

// One layer of a code 7 room: its own vertex list, faces indexing it.
struct Layer {
    std::vector<LayerVertex> vertices;
    std::vector<Rectangle> rectangles;
    std::vector<Triangle> triangles;
};

struct Room {
    int32_t x = 0, z = 0, yBottom = 0, yTop = 0;
    std::vector<Vertex> vertices;  // codes 1-6
    std::vector<Layer> layers;     // code 7
    std::vector<Rectangle> rectangles;
    std::vector<Triangle> triangles;
    std::vector<Sprite> sprites;
    std::vector<StaticMesh> staticMeshes;
    uint16_t portals = 0;              // patterned portal records, unless portalList is given
    std::optional<std::vector<Portal>> portalList;
    uint16_t zSectors = 1, xSectors = 1;
    // zSectors x xSectors records in file order (column by column), instead of the pattern.
    std::optional<std::vector<Sector>> sectorList;
    int16_t alternateRoom = -1;
    uint16_t flags = 0;                // bit 0: water
    uint8_t alternateGroup = 0;        // codes 6-7
    uint16_t lights = 0;               // patterned light records, unless lightList is given
    std::optional<std::vector<Light>> lightList;
    uint32_t fogBulbs = 0;          // code 7: patterned fog bulbs, unless fogBulbList is given
    std::optional<std::vector<std::array<float, 9>>> fogBulbList;  // code 7: nine floats, position first
    uint32_t trailingBytes = 0;     // code 7: room data beyond what the reader consumes
    std::optional<uint32_t> dataSize;  // code 7: the room data size to write instead of the true one
};

struct ObjectTexture {
    uint16_t attribute = 0;
    uint16_t tile = 0;
    std::array<uint8_t, 4> u{}, v{};
};

// An entity record; codes 1-2 have no extra word.
struct Entity {
    int16_t type = 0, room = 0;
    int32_t x = 0, y = 0, z = 0;
    uint16_t angle = 0;
    int16_t intensity = -1, extra = 0;
    uint16_t flags = 0;
};

// A sprite texture record as stored (its fields mean different things in codes 1-5 and 6-7).
struct SpriteTexture {
    uint16_t tile = 0;
    uint8_t x = 0, y = 0;
    uint16_t width = 0, height = 0;
    int16_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Moveable {
    uint32_t objectId = 0;
    uint16_t meshCount = 0, firstMesh = 0;
    uint32_t meshTree = 0, frameOffset = 0;
    uint16_t animation = 0xFFFF;
};

// A whole animation record; the lateral speeds are written for codes 6-7 only.
struct Animation {
    uint32_t frameOffset = 0;
    uint8_t frameRate = 1, frameSize = 0;
    uint16_t state = 0;
    int32_t speed = 0, acceleration = 0, lateralSpeed = 0, lateralAcceleration = 0;
    uint16_t frameStart = 0, frameEnd = 0, nextAnimation = 0, nextFrame = 0;
    uint16_t stateChangeCount = 0, firstStateChange = 0, commandCount = 0, firstCommand = 0;
};

// A mesh rotation of a key frame: all three axes (1024 to a turn each), or one axis alone (1 x,
// 2 y, 3 z; codes 3-7 only) in the step of the code (1024 to a turn, codes 6-7 4096).
struct FrameRotation {
    int axis = 0;
    uint16_t x = 0, y = 0, z = 0;
};

// The words of one key frame as the code keeps it: the box, the offset, for codes 1-2 the rotation
// count and each rotation's packed value low word first, for codes 3-7 high word first or one word.
std::vector<uint16_t> FrameWords(int code, std::array<int16_t, 3> offset, const std::vector<FrameRotation>& rotations,
                                 std::array<int16_t, 6> box = {});

struct SpriteSequence {
    int32_t objectId = 0;
    int16_t count = 1;  // written negated
    uint16_t first = 0;
};

struct StaticMeshDefinition {
    uint32_t objectId = 0;
    uint16_t meshIndex = 0;
    std::array<int16_t, 6> visibilityBox{};  // least and greatest x, y, z; the collision box and flags zero
};

struct Camera {
    int32_t x = 0, y = 0, z = 0;
    int16_t room = 0;
    uint16_t flags = 0;
};

struct FlybyCamera {
    int32_t x = 0, y = 0, z = 0;
    std::array<int32_t, 3> lookAt{};
    uint8_t sequence = 0, number = 0;
    uint16_t fov = 0;
    int16_t roll = 0;
    uint16_t timer = 0, speed = 0, flags = 0;
    uint32_t room = 0;
};

struct SoundSource {
    int32_t x = 0, y = 0, z = 0;
    uint16_t sound = 0, flags = 0xC0;
};

// Element counts of the sections that are only carried along.
struct Counts {
    uint32_t floorData = 3, animations = 2, stateChanges = 2, animDispatches = 1, animCommands = 4;
    uint32_t meshTrees = 2, frames = 5, moveables = 2, spriteTextures = 2, spriteSequences = 1;
    uint32_t cameras = 1, flybyCameras = 1, soundSources = 1, boxes = 3, overlaps = 2;
    uint32_t animatedTextures = 2, entities = 2, aiObjects = 1;
    uint16_t cinematicFrames = 1, demoData = 3;
    uint32_t soundDetails = 2, sampleIndices = 2, sampleBytes = 16;
};

// Codes 6-7: the bytes behind the level data as the games write them, a sample count, then each
// sample's uncompressed length, stored length and stored bytes. The default holds one sample.
std::vector<uint8_t> SampleTail(const std::vector<std::vector<uint8_t>>& samples);
std::vector<uint8_t> DefaultSampleTail();

struct LevelDescription {
    int code = 1;                // 1..7
    uint32_t versionWord = 0;    // 0: the usual word for the code
    int tileCount = 0;
    std::vector<uint8_t> tiles8;   // tileCount x 65536; empty: a pattern
    std::vector<uint8_t> tiles16;  // tileCount x 131072; empty: a pattern
    std::vector<uint8_t> tiles32;  // codes 6-7: tileCount x 262144; empty: a pattern
    std::array<uint8_t, 768> palette8{};
    std::vector<Room> rooms;
    std::vector<uint16_t> meshData;
    std::vector<uint32_t> meshPointers;
    std::vector<StaticMeshDefinition> staticMeshDefinitions;
    std::vector<ObjectTexture> objectTextures;
    // When given, these replace the patterned entity and sprite-texture sections.
    std::optional<std::vector<Entity>> entities;
    std::optional<std::vector<SpriteTexture>> spriteTextures;
    // And these the patterned animation sections: animations by their frame offsets (the rest of
    // each record zero), mesh trees and frames word by word, the animated-texture words.
    std::optional<std::vector<uint32_t>> animationFrameOffsets;
    // Whole animation records (instead of the frame offsets), state changes (state, dispatch count,
    // first dispatch), dispatches (low, high, next animation, next frame) and command words.
    std::optional<std::vector<Animation>> animationList;
    std::optional<std::vector<std::array<uint16_t, 3>>> stateChanges;
    std::optional<std::vector<std::array<int16_t, 4>>> animDispatches;
    std::optional<std::vector<uint16_t>> animCommands;
    std::optional<std::vector<int32_t>> meshTrees;
    std::optional<std::vector<uint16_t>> frames;
    std::optional<std::vector<Moveable>> moveables;
    std::optional<std::vector<SpriteSequence>> spriteSequences;
    std::optional<std::vector<uint16_t>> animatedTextures;
    // And these the patterned camera, fly-by camera (codes 6-7) and sound source sections.
    std::optional<std::vector<Camera>> cameras;
    std::optional<std::vector<FlybyCamera>> flybyCameras;
    std::optional<std::vector<SoundSource>> soundSources;
    // The sound map's first entries, the rest -1, instead of the pattern.
    std::optional<std::vector<int16_t>> soundMap;
    // The floor-data words, instead of counts.floorData patterned ones.
    std::optional<std::vector<uint16_t>> floorData;
    Counts counts;
    std::vector<uint8_t> sampleTail = DefaultSampleTail();  // codes 6-7: the bytes after the level data
    // Replaces every section after the entities (levels from extended editors break the tables there).
    std::optional<std::vector<uint8_t>> afterEntities;
    bool zlibWrapped = false;
    // Codes 6-7: the level data is cut to this many bytes before it is packed (code 6) or stored with
    // this length (code 7): a level whose data is cut inside an intact chunk or length.
    std::optional<size_t> levelDataLength;
};

// Where a section of a written level begins, named as the reader names it. Room and tile marks lie
// inside their section ("rooms", "8-bit texture tiles") and say which room (0-based) or tile (1-based).
struct SectionMark {
    std::string name;
    size_t offset = 0;                // in the file; for code 6's level data, in the level data
    size_t levelDataOffset = SIZE_MAX;  // codes 6-7: in the level data; SIZE_MAX outside it
    int room = -1;
    int tile = -1;
};

// Every square of the room's grid open from its top (ceiling) to its bottom (floor), as a room whose
// walls stand inside its squares has them.
std::vector<Sector> OpenSectors(const Room& room);

// The byte pattern written into carried sections: section id and offset decide each byte.
uint8_t PatternByte(int section, size_t offset);
std::vector<uint8_t> PatternBytes(int section, size_t count);

std::vector<uint8_t> WriteLevel(const LevelDescription& level);
// The same, recording where each section begins (not for zlib-wrapped levels).
std::vector<uint8_t> WriteLevel(const LevelDescription& level, std::vector<SectionMark>& marks);
void WriteLevelFile(const LevelDescription& level, const std::string& path);

// Section ids of the pattern, also used by tests to check where the reader took each section from.
enum Section : int {
    kFloorData = 13, kAnimations = 16, kStateChanges, kAnimDispatches, kAnimCommands, kMeshTrees, kFrames,
    kMoveables, kSpriteTextures = 26, kSpriteSequences, kCameras = 29, kFlybyCameras, kSoundSources, kBoxes,
    kOverlaps, kZones, kAnimatedTextures, kEntities = 38, kLightMap, kAIObjects = 41, kDemoData, kSoundMap,
    kSoundDetails, kSamples, kSampleIndices, kPortals = 60, kSectors, kLights, kFogBulbs, kTiles32 = 70, kMisc
};

}  // namespace grottix::levelwriter
