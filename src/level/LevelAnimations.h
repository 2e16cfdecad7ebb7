#pragma once
// The animation tables of a level decoded into records: animations, state changes, the dispatches
// (frame ranges) a state change goes through, and the commands each animation runs. Every index
// and count these hold is checked against the table it names once, here: a record that points
// outside its table, an empty or reversed frame range, a rate of 0 or a command list that runs
// off its table marks the animation unusable and is reported as damage of the table.

#include <array>
#include <cstdint>
#include <vector>

#include "level/LevelDamage.h"

namespace grottix {

class TTombRaiderLevel;

struct TAnimation {
    uint32_t frameOffset = 0;  // bytes into the frames
    uint8_t frameRate = 1;     // game frames from one key frame to the next
    uint8_t frameSize = 0;     // words of one key frame (codes 3-7)
    uint16_t state = 0;
    // Level units a game frame, 16.16 fixed point; the lateral ones only in codes 6-7.
    int32_t speed = 0, acceleration = 0, lateralSpeed = 0, lateralAcceleration = 0;
    uint16_t frameStart = 0, frameEnd = 0;      // frame numbers, both included
    uint16_t nextAnimation = 0, nextFrame = 0;  // where the animation goes on after frameEnd
    uint16_t stateChangeCount = 0, firstStateChange = 0;
    uint16_t commandCount = 0, firstCommand = 0;  // firstCommand: a word of the command table
};

// A change to state: the dispatches firstDispatch .. + dispatchCount - 1 say, by frame, where to go.
struct TStateChange {
    uint16_t state = 0, dispatchCount = 0, firstDispatch = 0;
};

// From a frame of low .. high (both included) on to nextAnimation at nextFrame.
struct TAnimDispatch {
    int16_t low = 0, high = 0, nextAnimation = 0, nextFrame = 0;
};

enum class TAnimCommandKind : uint16_t {
    PositionShift = 1,  // x, y, z: the item moves when the animation ends
    Jump = 2,           // vertical, horizontal speed
    EmptyHands = 3,     // Lara's hands are free again
    Kill = 4,           // the item is gone
    Sound = 5,          // frame, sound
    Effect = 6,         // frame, effect
};

struct TAnimCommand {
    uint16_t kind = 0;               // a TAnimCommandKind
    std::array<int16_t, 3> operands{};  // as many as AnimCommandOperands says, the rest 0
};

// How many operand words follow a command of kind; -1 for a kind the games do not have.
int AnimCommandOperands(uint16_t kind);

struct TLevelAnimations {
    std::vector<TAnimation> animations;
    std::vector<uint8_t> usable;  // per animation: 1 when every index and count it holds checks out
    std::vector<TStateChange> stateChanges;
    std::vector<TAnimDispatch> dispatches;
    std::vector<std::vector<TAnimCommand>> commands;  // per animation
    std::vector<TLevelDamage> damage;                 // one entry per damaged animation
    std::vector<size_t> damaged;                      // the animation of each damage entry
};

// Codes 1-5 keep 32 bytes an animation, codes 6-7 40 (with the lateral speeds).
size_t AnimationRecordSize(int versionCode);

TLevelAnimations ReadLevelAnimations(const TTombRaiderLevel& level);

}  // namespace grottix
