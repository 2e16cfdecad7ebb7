#include "level/FlipMaps.h"

#include <algorithm>

#include "level/TombRaiderLevel.h"

namespace grottix {

TFlipMaps::TFlipMaps(const std::vector<int>& alternates, const std::vector<int>& groups) {
    const size_t count = alternates.size();
    rooms_.resize(count);
    for (size_t i = 0; i < count; ++i) {
        rooms_[i].alternate = alternates[i] < 0 ? -1 : alternates[i];
        rooms_[i].group = i < groups.size() ? groups[i] : 0;
    }
    for (size_t i = 0; i < count; ++i) {
        const int target = rooms_[i].alternate;
        if (target < 0) continue;
        TFlipProblem problem;
        if (size_t(target) >= count) problem = TFlipProblem::OutOfRange;
        else if (size_t(target) == i) problem = TFlipProblem::OwnAlternate;
        else if (rooms_[i].primary >= 0 || rooms_[size_t(target)].flips) problem = TFlipProblem::Chain;
        else if (rooms_[size_t(target)].primary >= 0) problem = TFlipProblem::SharedAlternate;
        else {
            rooms_[i].flips = true;
            rooms_[size_t(target)].primary = int(i);
            groups_.push_back(rooms_[i].group);
            continue;
        }
        issues_.push_back({int(i), target, problem});
    }
    std::sort(groups_.begin(), groups_.end());
    groups_.erase(std::unique(groups_.begin(), groups_.end()), groups_.end());
}

TFlipMaps TFlipMaps::Read(const TTombRaiderLevel& level) {
    std::vector<int> alternates, groups;
    for (const TRoomRecord& room : level.Rooms) {
        alternates.push_back(room.alternateRoom);
        groups.push_back(level.VersionCode >= 6 ? room.alternateGroup : 0);
    }
    return TFlipMaps(alternates, groups);
}

std::vector<uint8_t> TFlipMaps::RoomsShown(TFlipState state) const {
    std::vector<uint8_t> shown(rooms_.size(), 1);
    for (size_t i = 0; i < rooms_.size(); ++i) {
        const TRoomFlip& room = rooms_[i];
        if (!room.flips) continue;
        const bool flipped = state.kind == TFlipState::TKind::All ||
                             (state.kind == TFlipState::TKind::Group && state.group == room.group);
        shown[i] = !flipped;
        shown[size_t(room.alternate)] = flipped;
    }
    return shown;
}

TFlipState TFlipMaps::StateShowing(size_t room, TFlipState current, bool byGroup) const {
    if (room >= rooms_.size() || RoomsShown(current)[room]) return current;
    if (!IsAlternate(room)) return {};
    return byGroup ? TFlipState::Group(rooms_[room].group) : TFlipState::All();
}

std::string DescribeFlipIssue(const TFlipIssue& issue) {
    const std::string room = "room " + std::to_string(issue.room) + ": ";
    const std::string alternate = std::to_string(issue.alternate);
    switch (issue.problem) {
    case TFlipProblem::OutOfRange: return room + "alternate " + alternate + " names no room";
    case TFlipProblem::OwnAlternate: return room + "is its own alternate";
    case TFlipProblem::Chain: return room + "alternate " + alternate + " is part of a chain of alternates";
    case TFlipProblem::SharedAlternate: return room + "alternate " + alternate + " is already another room's alternate";
    }
    return room;
}

}  // namespace grottix
