#pragma once
// The flip maps of a level: rooms that have an alternate version standing at the same place (a
// flooded and a drained cave, a bridge before and after it falls). Each room's alternate-room field
// names the room that replaces it when its map is flipped (-1: none); rooms of codes 6-7 also carry
// the alternate group, the flip map they belong to (other codes: group 0).
//
// The file's links are taken in room order; a link is kept only when it is sound, so that every
// flip state shows each room at most once. Links that are not kept are listed as problems and their
// rooms are shown as if they had no alternate.

#include <cstdint>
#include <string>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

// Why a room's alternate link was not kept.
enum class TFlipProblem {
    OutOfRange,      // the alternate index names no room
    OwnAlternate,    // the room names itself
    Chain,           // the room is itself an alternate, or its alternate has an alternate (A to B to C)
    SharedAlternate  // an earlier room already names the same alternate
};

struct TFlipIssue {
    int room = 0;       // the room whose link was dropped
    int alternate = 0;  // the index it names
    TFlipProblem problem = TFlipProblem::OutOfRange;
};

// Per room, as the file says and as the flip maps use it.
struct TRoomFlip {
    int alternate = -1;  // the alternate room as the file names it, -1 when none
    int group = 0;       // the alternate group (codes 6-7), else 0
    int primary = -1;    // for a kept alternate: the room it replaces, else -1
    bool flips = false;  // the room has a kept link to its alternate
};

// Which rooms a flip state shows: none flipped (the level as it starts), one group, or all groups.
struct TFlipState {
    enum class TKind { None, Group, All };
    TKind kind = TKind::None;
    int group = 0;  // for TKind::Group

    static TFlipState All() { return {TKind::All, 0}; }
    static TFlipState Group(int g) { return {TKind::Group, g}; }
    bool operator==(const TFlipState&) const = default;
};

class TFlipMaps {
public:
    TFlipMaps() = default;
    // From every room's alternate room and group (both vectors one entry per room; a missing
    // group is 0).
    TFlipMaps(const std::vector<int>& alternates, const std::vector<int>& groups);
    static TFlipMaps Read(const TTombRaiderLevel& level);

    const std::vector<TRoomFlip>& Rooms() const { return rooms_; }
    const std::vector<TFlipIssue>& Issues() const { return issues_; }
    // True for a room that is the kept alternate of another: hidden until its map is flipped.
    bool IsAlternate(size_t room) const { return room < rooms_.size() && rooms_[room].primary >= 0; }
    bool HasFlips() const { return !groups_.empty(); }
    // The groups of the kept links, ascending, each once.
    const std::vector<int>& Groups() const { return groups_; }

    // Per room 1 when the state shows it, else 0: the primaries of flipped links give way to their
    // alternates; every other room is shown unless it is a kept alternate.
    std::vector<uint8_t> RoomsShown(TFlipState state) const;
    // A state that shows the room: the current one when it does; for a kept alternate its group
    // flipped (byGroup, codes 6-7) or all of them; else none flipped. Rooms out of range keep it.
    TFlipState StateShowing(size_t room, TFlipState current, bool byGroup) const;

private:
    std::vector<TRoomFlip> rooms_;
    std::vector<TFlipIssue> issues_;
    std::vector<int> groups_;
};

// "room 3: alternate 40 names no room", "room 5: is its own alternate", ...
std::string DescribeFlipIssue(const TFlipIssue& issue);

}  // namespace grottix
