#pragma once
// What each square of each room does: the level's floor-data words decoded into plain records.
// A sector's floor-data index starts a chain of functions; each is a header word (bits 0-4 the
// function, bits 8-14 a sub-function, bit 15 on the last of the chain) followed by its data. The set
// of functions, trigger types and trigger actions grows from one game to the next; a function or an
// action the sector's game does not know stops its chain (its length is unknown), and so does a chain
// that runs off the table or never ends: the sector is counted as bad, with what was read before.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "level/LevelSectors.h"

namespace grottix {

class TTombRaiderLevel;

enum TFloorFunction : uint8_t {
    kFloorPortal = 1,
    kFloorSlope = 2,
    kCeilingSlope = 3,
    kFloorTrigger = 4,
    kFloorKill = 5,
    kFloorClimb = 6,           // codes 3 and up
    kFirstTriangulation = 7,   // codes 5 and up: 7-10 floor and ceiling splits, 11-18 the same with portals
    kLastTriangulation = 18,
    kFloorMonkeySwing = 19,    // codes 5 and up
    kFloorSpecialA = 20,       // code 5: minecart turns left; codes 6-7: beetle
    kFloorSpecialB = 21,       // code 5: minecart turns right; codes 6-7: trigger triggerer
};

enum TTriggerAction : uint8_t {
    kActionItem = 0, kActionCamera = 1, kActionSink = 2, kActionFlipMap = 3, kActionFlipOn = 4,
    kActionFlipOff = 5, kActionLookAt = 6, kActionEndLevel = 7, kActionMusic = 8, kActionEffect = 9,
    kActionSecret = 10, kActionClearBodies = 11, kActionFlyby = 12, kActionCutscene = 13,
};

// Climbable sides, in the climb function's sub-function bits.
enum TClimbSide : uint8_t { kClimbPlusZ = 1, kClimbPlusX = 2, kClimbMinusZ = 4, kClimbMinusX = 8 };

struct TTriggerStep {
    uint8_t action = 0;      // TTriggerAction
    uint16_t parameter = 0;  // bits 0-9: the item, camera, flip map, track... it acts on
    std::optional<uint16_t> extra;  // camera and fly-by: timer, once and move timer
};

struct TLevelTrigger {
    int room = 0, x = 0, z = 0;  // the sector's room, column and row
    uint8_t type = 0;            // the sub-function: trigger, pad, switch, key...
    uint8_t timer = 0;
    bool once = false;
    uint8_t mask = 0;            // five activation bits
    std::vector<TTriggerStep> actions;
};

// One function of a sector's chain as stored, for showing it.
struct TSectorFunction {
    uint8_t function = 0;
    uint8_t subFunction = 0;
    uint16_t header = 0;
    std::vector<uint16_t> data;  // the data words (a trigger's setup and action words)
};

struct TSectorFloor {
    TLevelSector record;
    std::vector<TSectorFunction> functions;
    int portal = -1;               // the room beyond, or -1
    std::optional<uint16_t> floorSlope, ceilingSlope;  // low byte: x slope, high byte: z slope (signed)
    bool kill = false;
    uint8_t climb = 0;             // TClimbSide bits
    bool monkeySwing = false;
    std::vector<int> triggers;     // indices into TLevelFloorData::triggers
    bool bad = false;              // its chain broke off; what came before is kept
};

struct TRoomFloor {
    uint16_t xSectors = 0, zSectors = 0;
    std::vector<TSectorFloor> sectors;  // column by column: x * zSectors + z, as many as the records read
    const TSectorFloor* At(int x, int z) const;
};

struct TFloorDataProblem {
    int room = 0, x = 0, z = 0;
    std::string what;  // e.g. "the chain runs past the end of the floor data"
};

struct TLevelFloorData {
    std::vector<TRoomFloor> rooms;
    std::vector<TLevelTrigger> triggers;  // in room, column, row order
    std::optional<TFloorDataProblem> firstProblem;
    size_t badSectors = 0;
};

// A chain longer than this is taken as broken: real chains hold a few functions and a trigger's list.
constexpr size_t kMaxChainWords = 512;

TLevelFloorData ReadFloorData(const TTombRaiderLevel& level);

// Which functions, trigger types and actions the game of versionCode knows.
bool FloorFunctionKnown(int versionCode, int function);
bool TriggerTypeKnown(int versionCode, int type);
bool TriggerActionKnown(int versionCode, int action);

}  // namespace grottix
