#include "level/LevelAnimations.h"

#include <string>

#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr size_t kStateChangeSize = 6, kDispatchSize = 8;

TLevelDamage tableDamage(const char* section, uint64_t offset, std::string detail) {
    TLevelDamage damage;
    damage.Problem = TLevelProblem::Inconsistent;
    damage.Section = section;
    damage.Offset = offset;
    damage.Bytes = TLevelBytes::Table;
    damage.Detail = std::move(detail);
    return damage;
}

std::string of(uint64_t index, uint64_t count) { return std::to_string(index) + " of " + std::to_string(count); }

TAnimation readAnimation(const uint8_t* r, bool lateral) {
    TAnimation a;
    a.frameOffset = RawField<uint32_t>(r, 0);
    a.frameRate = r[4];
    a.frameSize = r[5];
    a.state = RawField<uint16_t>(r, 6);
    a.speed = RawField<int32_t>(r, 8);
    a.acceleration = RawField<int32_t>(r, 12);
    size_t at = 16;
    if (lateral) {
        a.lateralSpeed = RawField<int32_t>(r, 16);
        a.lateralAcceleration = RawField<int32_t>(r, 20);
        at = 24;
    }
    const auto word = [&](size_t i) { return RawField<uint16_t>(r, at + 2 * i); };
    a.frameStart = word(0);
    a.frameEnd = word(1);
    a.nextAnimation = word(2);
    a.nextFrame = word(3);
    a.stateChangeCount = word(4);
    a.firstStateChange = word(5);
    a.commandCount = word(6);
    a.firstCommand = word(7);
    return a;
}

// What is wrong with the animation's own fields and its state changes and dispatches; empty when
// nothing is.
std::string checkAnimation(const TLevelAnimations& t, const TAnimation& a) {
    const size_t count = t.animations.size();
    if (a.frameRate == 0) return "a frame rate of 0";
    if (a.frameEnd < a.frameStart) return "frames " + std::to_string(a.frameStart) + " to " + std::to_string(a.frameEnd);
    if (a.nextAnimation >= count) return "next animation " + of(a.nextAnimation, count);
    const TAnimation& next = t.animations[a.nextAnimation];
    if (a.nextFrame < next.frameStart || a.nextFrame > next.frameEnd)
        return "next frame " + std::to_string(a.nextFrame) + " outside frames " + std::to_string(next.frameStart) + " to " +
               std::to_string(next.frameEnd) + " of animation " + std::to_string(a.nextAnimation);
    if (size_t(a.firstStateChange) + a.stateChangeCount > t.stateChanges.size())
        return "state changes " + std::to_string(a.firstStateChange) + " + " + std::to_string(a.stateChangeCount) + " of " +
               std::to_string(t.stateChanges.size());
    for (size_t i = 0; i < a.stateChangeCount; ++i) {
        const TStateChange& change = t.stateChanges[a.firstStateChange + i];
        if (size_t(change.firstDispatch) + change.dispatchCount > t.dispatches.size())
            return "state change " + std::to_string(a.firstStateChange + i) + " names dispatches " +
                   std::to_string(change.firstDispatch) + " + " + std::to_string(change.dispatchCount) + " of " +
                   std::to_string(t.dispatches.size());
        for (size_t d = 0; d < change.dispatchCount; ++d) {
            const TAnimDispatch& dispatch = t.dispatches[change.firstDispatch + d];
            if (dispatch.nextAnimation < 0 || size_t(dispatch.nextAnimation) >= count)
                return "dispatch " + std::to_string(change.firstDispatch + d) + " names animation " +
                       of(uint64_t(uint16_t(dispatch.nextAnimation)), count);
        }
    }
    return {};
}

// The animation's commands, or what is wrong with them.
std::string readCommands(const TTombRaiderLevel& level, const TAnimation& a, std::vector<TAnimCommand>& out) {
    const size_t words = RecordCount(level.AnimCommands, 2);
    const auto word = [&](size_t i) { return RawField<uint16_t>(level.AnimCommands.bytes.data(), i * 2); };
    size_t at = a.firstCommand;
    for (size_t i = 0; i < a.commandCount; ++i) {
        if (at >= words) return "command " + std::to_string(i) + " at word " + of(at, words);
        TAnimCommand command;
        command.kind = word(at++);
        const int operands = AnimCommandOperands(command.kind);
        if (operands < 0) return "command kind " + std::to_string(command.kind) + " at word " + std::to_string(at - 1);
        if (at + size_t(operands) > words) return "command " + std::to_string(i) + " runs past word " + std::to_string(words);
        for (int o = 0; o < operands; ++o) command.operands[size_t(o)] = int16_t(word(at++));
        out.push_back(command);
    }
    return {};
}

}  // namespace

int AnimCommandOperands(uint16_t kind) {
    switch (TAnimCommandKind(kind)) {
    case TAnimCommandKind::PositionShift: return 3;
    case TAnimCommandKind::Jump:
    case TAnimCommandKind::Sound:
    case TAnimCommandKind::Effect: return 2;
    case TAnimCommandKind::EmptyHands:
    case TAnimCommandKind::Kill: return 0;
    }
    return -1;
}

size_t AnimationRecordSize(int versionCode) { return versionCode >= 6 ? 40 : 32; }

TLevelAnimations ReadLevelAnimations(const TTombRaiderLevel& level) {
    TLevelAnimations t;
    const size_t size = AnimationRecordSize(level.VersionCode);
    t.animations.resize(RecordCount(level.Animations, size));
    for (size_t i = 0; i < t.animations.size(); ++i)
        t.animations[i] = readAnimation(level.Animations.bytes.data() + i * size, level.VersionCode >= 6);
    t.stateChanges.resize(RecordCount(level.StateChanges, kStateChangeSize));
    for (size_t i = 0; i < t.stateChanges.size(); ++i) {
        const uint8_t* r = level.StateChanges.bytes.data() + i * kStateChangeSize;
        t.stateChanges[i] = {RawField<uint16_t>(r, 0), RawField<uint16_t>(r, 2), RawField<uint16_t>(r, 4)};
    }
    t.dispatches.resize(RecordCount(level.AnimDispatches, kDispatchSize));
    for (size_t i = 0; i < t.dispatches.size(); ++i) {
        const uint8_t* r = level.AnimDispatches.bytes.data() + i * kDispatchSize;
        t.dispatches[i] = {RawField<int16_t>(r, 0), RawField<int16_t>(r, 2), RawField<int16_t>(r, 4), RawField<int16_t>(r, 6)};
    }
    t.usable.assign(t.animations.size(), 1);
    t.commands.resize(t.animations.size());
    for (size_t i = 0; i < t.animations.size(); ++i) {
        std::string problem = checkAnimation(t, t.animations[i]);
        if (problem.empty()) problem = readCommands(level, t.animations[i], t.commands[i]);
        if (problem.empty()) continue;
        t.usable[i] = 0;
        t.commands[i].clear();
        t.damaged.push_back(i);
        t.damage.push_back(tableDamage("animations", uint64_t(i) * size, "animation " + std::to_string(i) + ": " + problem));
    }
    return t;
}

}  // namespace grottix
