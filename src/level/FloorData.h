#pragma once
// What each square of each room does: the level's floor-data words decoded into plain records.
// A sector's floor-data index starts a chain of functions, read once however many squares share it.
// Each function is a header word (bits 0-4 the function, bits 8-14 a sub-function, bit 15 on the last
// of the chain) followed by its data. The set of functions, trigger types and trigger actions grows
// from one game to the next; a function or an action the sector's game does not know stops its chain
// (its length is unknown), and so does a chain that runs off the table or never ends: the chain, and
// every square pointing at it, is bad, with what was read before.

#include <algorithm>
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

// A square of a room's grid: the room, its column and its row.
struct TFloorSquare {
    uint16_t room = 0, x = 0, z = 0;
    bool operator==(const TFloorSquare&) const = default;
};

struct TLevelTrigger {
    int room = 0, x = 0, z = 0;  // the first square (in room, column, row order) whose chain holds it
    std::vector<TFloorSquare> squares;  // every square whose chain holds it, that one first
    int entry = 0;               // the chain, in TLevelFloorData::entries
    uint8_t type = 0;            // the sub-function: trigger, pad, switch, key...
    uint8_t timer = 0;
    bool once = false;
    uint8_t mask = 0;            // five activation bits
    std::vector<TTriggerStep> actions;
};

// One function of a chain as stored, for showing it.
struct TSectorFunction {
    uint8_t function = 0;
    uint8_t subFunction = 0;
    uint16_t header = 0;
    std::vector<uint16_t> data;  // the data words (a trigger's setup and action words)
};

// The triggers of a chain as indices into TLevelFloorData::triggers: none or one (a chain holds at
// most one trigger), kept in place so that a square's facts need no memory of their own.
class TTriggerIndices {
public:
    TTriggerIndices() = default;
    explicit TTriggerIndices(int index) : index_(index) {}
    const int* begin() const { return &index_; }
    const int* end() const { return &index_ + size(); }
    size_t size() const { return index_ >= 0 ? 1 : 0; }
    bool empty() const { return index_ < 0; }
    int front() const { return index_; }
    bool operator==(const std::vector<int>& other) const { return std::equal(begin(), end(), other.begin(), other.end()); }

private:
    int index_ = -1;
};

// What a chain says, the same for every square whose floor-data index starts it.
struct TFloorFacts {
    TTriggerIndices triggers;
    int portal = -1;               // the room beyond, or -1
    std::optional<uint16_t> floorSlope, ceilingSlope;  // low byte: x slope, high byte: z slope (signed)
    bool kill = false;
    uint8_t climb = 0;             // TClimbSide bits
    bool monkeySwing = false;
    bool bad = false;              // the chain broke off; what came before is kept
};

// One chain, read once for all the squares that point at it.
struct TFloorEntry : TFloorFacts {
    uint16_t index = 0;            // where it starts in the floor-data words
    std::vector<TSectorFunction> functions;
    std::string problem;           // why it broke off, when bad
};

struct TSectorFloor : TFloorFacts {
    TLevelSector record;
    int entry = -1;                // its chain in TLevelFloorData::entries; -1 for floor-data index 0
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
    std::vector<TFloorEntry> entries;     // in the order of the first square pointing at each
    std::vector<TLevelTrigger> triggers;  // one per chain holding one, in the same order
    std::optional<TFloorDataProblem> firstProblem;
    size_t badSectors = 0;                // squares whose chain is bad

    // The functions of the square's chain (none for floor-data index 0).
    const std::vector<TSectorFunction>& Functions(const TSectorFloor& square) const;
};

// A chain longer than this is taken as broken: real chains hold a few functions and a trigger's list.
constexpr size_t kMaxChainWords = 512;

// The words all chains together may read, for a table of this many words: twice the words a 16-bit
// floor-data index can reach (or the table holds, when fewer), and one chain more. Chains that start
// inside one another would read the same words again for every start; real levels' chains do not
// overlap, so this leaves room to spare.
size_t FloorChainBudget(size_t words);

TLevelFloorData ReadFloorData(const TTombRaiderLevel& level);

// Which functions, trigger types and actions the game of versionCode knows.
bool FloorFunctionKnown(int versionCode, int function);
bool TriggerTypeKnown(int versionCode, int type);
bool TriggerActionKnown(int versionCode, int action);

}  // namespace grottix
