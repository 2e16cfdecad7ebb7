// The trigger part of DiffLevels. Triggers are matched by the squares that hold them: a square whose
// trigger only one level has gained or lost one, a square whose two triggers differ changed it. The
// squares that share one pair of triggers are reported once, at the first of them.

#include <map>
#include <set>
#include <tuple>

#include "level/FloorDataNames.h"
#include "level/LevelDiff.h"
#include "level/LevelEntities.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

using TSquareKey = std::tuple<int, int, int>;

// Per square, the index of the trigger its chain holds.
std::map<TSquareKey, int> triggerSquares(const std::vector<TLevelTrigger>& triggers) {
    std::map<TSquareKey, int> squares;
    for (size_t t = 0; t < triggers.size(); ++t)
        for (const TFloorSquare& square : triggers[t].squares) squares.emplace(TSquareKey{square.room, square.x, square.z}, int(t));
    return squares;
}

bool sameStep(const TTriggerStep& p, const TTriggerStep& q) {
    return p.action == q.action && p.parameter == q.parameter && p.extra == q.extra;
}

// The steps of `from` that `to` does not hold (each of to's steps matches one of from's at most).
std::vector<TTriggerStep> stepsMissing(const std::vector<TTriggerStep>& from, const std::vector<TTriggerStep>& to) {
    std::vector<bool> used(to.size(), false);
    std::vector<TTriggerStep> missing;
    for (const TTriggerStep& step : from) {
        size_t i = 0;
        while (i < to.size() && (used[i] || !sameStep(step, to[i]))) ++i;
        if (i < to.size()) used[i] = true;
        else missing.push_back(step);
    }
    return missing;
}

struct TTriggerLevels {
    const TTombRaiderLevel &a, &b;
    std::vector<TLevelTrigger> triggersA, triggersB;
    std::vector<TLevelEntity> entitiesA, entitiesB;

    std::string actions(const std::vector<TTriggerStep>& steps, bool before) const {
        std::string text;
        for (const TTriggerStep& step : steps)
            text += (text.empty() ? "" : ", ") +
                    DescribeTriggerAction(before ? a.VersionCode : b.VersionCode, step, before ? entitiesA : entitiesB);
        return text;
    }

    // What differs between two triggers, empty when nothing does; fills the actions added and removed.
    std::string compare(const TLevelTrigger& was, const TLevelTrigger& is, TLevelDifference& d) const {
        std::string text;
        const auto field = [&](const char* name, int p, int q) {
            if (p != q) text += (text.empty() ? "" : ", ") + std::string(name) + " " + std::to_string(p) + " -> " + std::to_string(q);
        };
        field("type", was.type, is.type);
        field("timer", was.timer, is.timer);
        field("once", was.once, is.once);
        field("mask", was.mask, is.mask);
        d.actionsRemoved = stepsMissing(was.actions, is.actions);
        d.actionsAdded = stepsMissing(is.actions, was.actions);
        if (!d.actionsRemoved.empty()) text += (text.empty() ? "" : ", ") + std::string("removed ") + actions(d.actionsRemoved, true);
        if (!d.actionsAdded.empty()) text += (text.empty() ? "" : ", ") + std::string("added ") + actions(d.actionsAdded, false);
        return text;
    }
};

TLevelDifference triggerDifference(const TSquareKey& square, int squares) {
    TLevelDifference d;
    d.section = TDiffSection::Triggers;
    d.room = std::get<0>(square);
    d.x = std::get<1>(square);
    d.z = std::get<2>(square);
    d.squares = squares;
    return d;
}

std::string squareText(const TSquareKey& square, int squares) {
    std::string text = "trigger at room " + std::to_string(std::get<0>(square)) + " (" + std::to_string(std::get<1>(square)) + ", " +
                       std::to_string(std::get<2>(square)) + ")";
    if (squares > 1) text += " and " + std::to_string(squares - 1) + " more squares";
    return text;
}

}  // namespace

void DiffTriggers(const TTombRaiderLevel& a, const TTombRaiderLevel& b, std::vector<TLevelDifference>& out) {
    TTriggerLevels levels{a, b, ReadFloorData(a).triggers, ReadFloorData(b).triggers, ReadEntities(a), ReadEntities(b)};
    const std::map<TSquareKey, int> before = triggerSquares(levels.triggersA), after = triggerSquares(levels.triggersB);
    // Every square of either level with its pair of triggers (-1 for none), in room, column, row order.
    std::map<TSquareKey, std::pair<int, int>> squares;
    for (const auto& [key, t] : before) squares[key] = {t, -1};
    for (const auto& [key, t] : after) squares.try_emplace(key, -1, -1).first->second.second = t;
    std::map<std::pair<int, int>, int> shared;
    for (const auto& [key, pair] : squares) ++shared[pair];
    std::set<std::pair<int, int>> reported;
    for (const auto& [key, pair] : squares) {
        if (!reported.insert(pair).second) continue;
        TLevelDifference d = triggerDifference(key, shared[pair]);
        const std::string where = squareText(key, d.squares);
        if (pair.second < 0) {
            d.change = "removed";
            d.actionsRemoved = levels.triggersA[size_t(pair.first)].actions;
            d.message = where + ": removed (" + levels.actions(d.actionsRemoved, true) + ")";
        } else if (pair.first < 0) {
            d.change = "added";
            d.actionsAdded = levels.triggersB[size_t(pair.second)].actions;
            d.message = where + ": added (" + levels.actions(d.actionsAdded, false) + ")";
        } else {
            const std::string changes = levels.compare(levels.triggersA[size_t(pair.first)], levels.triggersB[size_t(pair.second)], d);
            if (changes.empty()) continue;
            d.change = "changed";
            d.message = where + ": " + changes;
        }
        out.push_back(std::move(d));
    }
}

}  // namespace grottix
