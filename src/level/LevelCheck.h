#pragma once
// A level's faults, found in what the reader and the floor data already know: trigger actions aimed
// at nothing, items placed where their room cannot hold them, flip-map links that do not hold,
// broken floor data, portals to missing rooms, references past the texture, sprite and mesh tables.
// Each finding is a plain record (kind, message, where) that the command line prints and a dock lists.
// Secret triggers are listed too, as information: they are no fault.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct TLevelFinding {
    // "trigger", "item_room", "item_outside", "item_in_wall", "flip_map", "floor_data", "portal",
    // "geometry", "texture", "sprite", "mesh", "camera", "damage"; "secret" for information.
    std::string kind;
    std::string message;
    std::optional<int> room, x, z;  // the room and the square (column x, row z) it concerns
    std::optional<int> item;        // the entity, by its index
    std::optional<int> trigger;     // the trigger, by its index in the floor data's triggers

    static TLevelFinding Of(std::string kind, std::string message) {
        TLevelFinding finding;
        finding.kind = std::move(kind);
        finding.message = std::move(message);
        return finding;
    }
    // Secrets are information; everything else is a problem.
    bool IsProblem() const { return kind != "secret"; }
};

// The flip maps the games before TR4 keep; TR4 and Chronicles flip alternate groups instead.
constexpr int kClassicFlipMaps = 10;

// Every finding, grouped by what it concerns (triggers, items, rooms, tables), each group in file
// order. Findings that could repeat once per face or square are summed up per room, so the list
// grows with the rooms, items and triggers, never with the faces.
std::vector<TLevelFinding> CheckLevel(const TTombRaiderLevel& level);

// Findings that are problems (not information).
size_t CountProblems(const std::vector<TLevelFinding>& findings);

}  // namespace grottix
