#include "level/FloorData.h"

#include <algorithm>

#include "level/LevelLimits.h"
#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr uint16_t kEndBit = 0x8000;

// The squares of the most the reader takes stay well under 512 MiB: each one's record and facts, and
// its place in its trigger's list. The chains, read once per entry within FloorChainBudget, add a few
// MiB at most.
static_assert(kMaxLevelSectors * (sizeof(TSectorFloor) + sizeof(TFloorSquare)) < (uint64_t{192} << 20));

// Walks one chain through the floor-data words. Every read is checked against the table, the chain's
// length and the words left to all chains; the first failure names what went wrong and stops the walk.
class TChainReader {
public:
    TChainReader(const std::vector<uint16_t>& words, size_t start, int versionCode, size_t& budget)
        : words_(words), next_(start), versionCode_(versionCode), budget_(budget) {}

    bool Read(TFloorEntry& entry, TLevelTrigger& trigger, bool& hasTrigger) {
        for (;;) {
            uint16_t header = 0;
            if (!word(header, "the chain runs past the end of the floor data")) return false;
            TSectorFunction function;
            function.header = header;
            function.function = uint8_t(header & 0x1F);
            function.subFunction = uint8_t((header >> 8) & 0x7F);
            if (!FloorFunctionKnown(versionCode_, function.function)) {
                problem = "unknown function " + std::to_string(function.function);
                return false;
            }
            const bool ok = readFunction(function, entry, trigger, hasTrigger);
            entry.functions.push_back(std::move(function));
            if (!ok) return false;
            if (header & kEndBit) return true;
        }
    }

    std::string problem;

private:
    bool word(uint16_t& out, const char* pastEnd) {
        if (next_ >= words_.size()) {
            problem = pastEnd;
            return false;
        }
        if (++read_ > kMaxChainWords) {
            problem = "the chain has no end within " + std::to_string(kMaxChainWords) + " words";
            return false;
        }
        if (budget_ == 0) {
            problem = "the chains overlap: together they read more than " + std::to_string(FloorChainBudget(words_.size())) +
                      " words";
            return false;
        }
        --budget_;
        out = words_[next_++];
        return true;
    }

    bool readFunction(TSectorFunction& f, TFloorEntry& entry, TLevelTrigger& trigger, bool& hasTrigger) {
        if (f.function == kFloorTrigger) return readTrigger(f, trigger, hasTrigger);
        const bool hasData = f.function <= kCeilingSlope ||
                             (f.function >= kFirstTriangulation && f.function <= kLastTriangulation);
        uint16_t data = 0;
        if (hasData) {
            if (!word(data, "a function's data runs past the end of the floor data")) return false;
            f.data.push_back(data);
        }
        switch (f.function) {
            case kFloorPortal: entry.portal = data; break;
            case kFloorSlope: entry.floorSlope = data; break;
            case kCeilingSlope: entry.ceilingSlope = data; break;
            case kFloorKill: entry.kill = true; break;
            case kFloorClimb: entry.climb = uint8_t(f.subFunction & 0x0F); break;
            case kFloorMonkeySwing: entry.monkeySwing = true; break;
            default: break;
        }
        return true;
    }

    bool readTrigger(TSectorFunction& f, TLevelTrigger& trigger, bool& hasTrigger) {
        uint16_t setup = 0;
        if (!word(setup, "a trigger runs past the end of the floor data")) return false;
        f.data.push_back(setup);
        hasTrigger = true;
        trigger.type = f.subFunction;
        trigger.timer = uint8_t(setup & 0xFF);
        trigger.once = (setup & 0x100) != 0;
        trigger.mask = uint8_t((setup >> 9) & 0x1F);
        for (;;) {
            uint16_t step = 0;
            if (!word(step, "a trigger's actions run past the end of the floor data")) return false;
            f.data.push_back(step);
            TTriggerStep action;
            action.action = uint8_t((step >> 10) & 0x1F);
            action.parameter = uint16_t(step & 0x3FF);
            if (!TriggerActionKnown(versionCode_, action.action)) {
                problem = "unknown trigger action " + std::to_string(action.action);
                return false;
            }
            bool last = (step & kEndBit) != 0;
            // The camera and fly-by actions carry one more word; its end bit ends the list.
            if (action.action == kActionCamera || action.action == kActionFlyby) {
                uint16_t extra = 0;
                if (!word(extra, "a trigger's actions run past the end of the floor data")) return false;
                f.data.push_back(extra);
                action.extra = extra;
                last = (extra & kEndBit) != 0;
            }
            trigger.actions.push_back(action);
            if (last) return true;
        }
    }

    const std::vector<uint16_t>& words_;
    size_t next_;
    size_t read_ = 0;
    int versionCode_;
    size_t& budget_;
};

std::vector<uint16_t> floorWords(const TTombRaiderLevel& level) {
    const size_t count = RecordCount(level.FloorData, 2);
    std::vector<uint16_t> words(count);
    for (size_t i = 0; i < count; ++i) words[i] = RawField<uint16_t>(level.FloorData.bytes.data(), i * 2);
    return words;
}

// Reads the chain that starts at index; one holding a trigger adds it to out.triggers.
TFloorEntry readEntry(const std::vector<uint16_t>& words, int versionCode, uint16_t index, size_t& budget,
                      TLevelFloorData& out) {
    TFloorEntry entry;
    entry.index = index;
    if (index >= words.size()) {
        entry.bad = true;
        entry.problem = "floor-data index " + std::to_string(index) + " past the end of the floor data (" +
                        std::to_string(words.size()) + " words)";
        return entry;
    }
    TChainReader chain(words, index, versionCode, budget);
    TLevelTrigger trigger;
    bool hasTrigger = false;
    entry.bad = !chain.Read(entry, trigger, hasTrigger);
    if (entry.bad) entry.problem = chain.problem;
    if (hasTrigger) {
        trigger.entry = int(out.entries.size());
        entry.triggers = TTriggerIndices(int(out.triggers.size()));
        out.triggers.push_back(std::move(trigger));
    }
    return entry;
}

}  // namespace

const TSectorFloor* TRoomFloor::At(int x, int z) const {
    if (x < 0 || z < 0 || x >= xSectors || z >= zSectors) return nullptr;
    const size_t index = size_t(x) * zSectors + size_t(z);
    return index < sectors.size() ? &sectors[index] : nullptr;
}

bool FloorFunctionKnown(int versionCode, int function) {
    if (function < kFloorPortal) return false;
    if (versionCode <= 2) return function <= kFloorKill;
    if (versionCode <= 4) return function <= kFloorClimb;
    return function <= kFloorSpecialB;
}

bool TriggerTypeKnown(int versionCode, int type) {
    if (versionCode <= 2) return type <= 8;    // up to dummy
    if (versionCode <= 5) return type <= 9;    // and anti-trigger
    if (versionCode == 6) return type <= 12;   // heavy switch, heavy anti-trigger, monkey
    return type <= 16;                         // skeleton, tightrope, crawl, climb
}

bool TriggerActionKnown(int versionCode, int action) {
    if (versionCode <= 4) return action <= kActionSecret;
    if (versionCode == 5) return action <= kActionClearBodies;
    return action <= kActionCutscene;
}

size_t FloorChainBudget(size_t words) {
    constexpr size_t kReachable = 65536 + kMaxChainWords;
    return 2 * std::min(words, kReachable) + kMaxChainWords;
}

const std::vector<TSectorFunction>& TLevelFloorData::Functions(const TSectorFloor& square) const {
    static const std::vector<TSectorFunction> none;
    return square.entry >= 0 && size_t(square.entry) < entries.size() ? entries[size_t(square.entry)].functions : none;
}

TLevelFloorData ReadFloorData(const TTombRaiderLevel& level) {
    TLevelFloorData out;
    const std::vector<uint16_t> words = floorWords(level);
    size_t budget = FloorChainBudget(words.size());
    std::vector<int> entryAt(65536, -1);  // by floor-data index
    out.rooms.resize(level.Rooms.size());
    for (size_t r = 0; r < level.Rooms.size(); ++r) {
        const TRoomRecord& record = level.Rooms[r];
        TRoomFloor& room = out.rooms[r];
        room.xSectors = record.xSectors;
        room.zSectors = record.zSectors;
        const std::vector<TLevelSector> sectors = ReadSectors(record);
        // Records past the grid (a zero-sized grid with records) have no square to belong to.
        const size_t squares = std::min<size_t>(sectors.size(), size_t(record.xSectors) * record.zSectors);
        room.sectors.resize(squares);
        for (size_t i = 0; i < squares; ++i) {
            TSectorFloor& square = room.sectors[i];
            square.record = sectors[i];
            const uint16_t index = square.record.floorDataIndex;
            if (index == 0) continue;
            const int x = int(i / record.zSectors), z = int(i % record.zSectors);
            if (entryAt[index] < 0) {
                TFloorEntry entry = readEntry(words, level.VersionCode, index, budget, out);
                entryAt[index] = int(out.entries.size());
                out.entries.push_back(std::move(entry));
            }
            square.entry = entryAt[index];
            const TFloorEntry& entry = out.entries[size_t(square.entry)];
            static_cast<TFloorFacts&>(square) = entry;
            for (int t : entry.triggers) {
                TLevelTrigger& trigger = out.triggers[size_t(t)];
                if (trigger.squares.empty()) {
                    trigger.room = int(r);
                    trigger.x = x;
                    trigger.z = z;
                }
                trigger.squares.push_back({uint16_t(r), uint16_t(x), uint16_t(z)});
            }
            if (!entry.bad) continue;
            ++out.badSectors;
            if (!out.firstProblem) out.firstProblem = TFloorDataProblem{int(r), x, z, entry.problem};
        }
    }
    return out;
}

}  // namespace grottix
