#include "app/cli/DiffCommand.h"

#include <iostream>

#include "app/cli/CommandLine.h"
#include "app/cli/InfoJson.h"
#include "app/cli/LevelArgument.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

void writeSteps(std::ostream& out, const char* name, const std::vector<TTriggerStep>& steps) {
    if (steps.empty()) return;
    out << ", \"" << name << "\": [";
    for (size_t i = 0; i < steps.size(); ++i)
        out << (i ? ", " : "") << "{\"action\": " << int(steps[i].action) << ", \"parameter\": " << steps[i].parameter << "}";
    out << "]";
}

void writeDifferenceJson(std::ostream& out, const TLevelDifference& d) {
    out << "{";
    if (d.index) out << (d.section == TDiffSection::Textures ? "\"tile\": " : "\"index\": ") << *d.index << ", ";
    if (d.room) out << "\"room\": " << *d.room << ", ";
    if (d.x) out << "\"x\": " << *d.x << ", \"z\": " << d.z.value_or(0) << ", ";
    out << "\"change\": " << JsonString(d.change);
    if (d.section == TDiffSection::Triggers) out << ", \"squares\": " << d.squares;
    writeSteps(out, "actions_added", d.actionsAdded);
    writeSteps(out, "actions_removed", d.actionsRemoved);
    out << ", \"message\": " << JsonString(d.message) << "}";
}

}  // namespace

void WriteDifferencesJson(std::ostream& out, const std::vector<TLevelDifference>& differences) {
    out << "{";
    const TDiffSection sections[] = {TDiffSection::Items, TDiffSection::Rooms, TDiffSection::Triggers, TDiffSection::FlipMaps,
                                     TDiffSection::Textures};
    for (size_t s = 0; s < std::size(sections); ++s) {
        out << (s ? ",\n" : "\n") << "  \"" << DiffSectionName(sections[s]) << "\": [";
        bool first = true;
        for (const TLevelDifference& d : differences) {
            if (d.section != sections[s]) continue;
            out << (first ? "\n    " : ",\n    ");
            writeDifferenceJson(out, d);
            first = false;
        }
        out << (first ? "]" : "\n  ]");
    }
    out << "\n}\n";
}

void WriteDifferencesText(std::ostream& out, const std::vector<TLevelDifference>& differences) {
    for (const TLevelDifference& d : differences) out << d.message << "\n";
    out << differences.size() << (differences.size() == 1 ? " difference\n" : " differences\n");
}

int RunDiffCommand(const std::vector<std::string>& args) {
    std::vector<std::string> paths;
    bool json = false;
    if (!ParseFilesAndJson(args, 2, "--diff", paths, json)) return kCommandCannotRead;
    try {
        TTombRaiderLevel a, b;
        if (!ReadLevelArgument(paths[0], a) || !ReadLevelArgument(paths[1], b)) return kCommandCannotRead;
        const std::vector<TLevelDifference> differences = DiffLevels(a, b);
        if (json) WriteDifferencesJson(std::cout, differences);
        else WriteDifferencesText(std::cout, differences);
        if (!FlushStandardOutput()) return kCommandCannotRead;
        return differences.empty() ? 0 : 1;
    } catch (const std::exception& error) {
        PrintCommandFailure(error);
        return kCommandCannotRead;
    }
}

}  // namespace grottix
