#pragma once
// The moveables of a level as --info --json lists them: object id, the game's name, how many meshes
// and own animations it has, its first animation (-1 for none), and what is wrong with its
// animations when the tables do not hold them.

#include <cstdint>
#include <string>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct MoveableSummary {
    uint32_t type = 0;
    std::string name;
    size_t meshes = 0, animations = 0;
    int firstAnimation = -1;
    std::string problem;  // the first damage found in its animations, empty when none
};

std::vector<MoveableSummary> SummarizeMoveables(const TTombRaiderLevel& level);
// A JSON array of one object per moveable; indent is put before each moveable's line.
std::string MoveablesJson(const std::vector<MoveableSummary>& moveables, const std::string& indent);

}  // namespace grottix
