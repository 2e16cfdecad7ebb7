#include "level/LevelDamage.h"

namespace grottix {

std::string TLevelDamage::Describe() const {
    std::string where = " in the " + Section;
    if (Room >= 0) where += " (room " + std::to_string(Room) + ")";
    if (Tile >= 0) where += " (tile " + std::to_string(Tile) + ")";
    where += " at byte " + std::to_string(Offset);
    if (Bytes == TLevelBytes::UnwrappedFile) where += " of the unwrapped file";
    if (Bytes == TLevelBytes::LevelData) where += " of the inflated level data";
    if (Bytes == TLevelBytes::Table) where += " of the table";
    if (Problem == TLevelProblem::EndsEarly) return "the data ends early" + where + (Detail.empty() ? "" : ": " + Detail);
    return Detail + where;
}

}  // namespace grottix
