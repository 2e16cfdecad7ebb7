#include "app/cli/CheckCommand.h"

#include <iostream>

#include "app/cli/CommandLine.h"
#include "app/cli/InfoJson.h"
#include "app/cli/LevelArgument.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

void writeFindingJson(std::ostream& out, const TLevelFinding& finding) {
    out << "{\"kind\": " << JsonString(finding.kind) << ", \"message\": " << JsonString(finding.message);
    const auto field = [&](const char* name, const std::optional<int>& value) {
        if (value) out << ", \"" << name << "\": " << *value;
    };
    field("room", finding.room);
    field("x", finding.x);
    field("z", finding.z);
    field("item", finding.item);
    field("trigger", finding.trigger);
    out << "}";
}

void writeArray(std::ostream& out, const char* name, const std::vector<TLevelFinding>& findings, bool problems) {
    out << "  \"" << name << "\": [";
    bool first = true;
    for (const TLevelFinding& finding : findings) {
        if (finding.IsProblem() != problems) continue;
        out << (first ? "\n    " : ",\n    ");
        writeFindingJson(out, finding);
        first = false;
    }
    out << (first ? "]" : "\n  ]");
}

}  // namespace

void WriteFindingsJson(std::ostream& out, const std::vector<TLevelFinding>& findings) {
    out << "{\n";
    writeArray(out, "problems", findings, true);
    out << ",\n";
    writeArray(out, "secrets", findings, false);
    out << "\n}\n";
}

void WriteFindingsText(std::ostream& out, const std::vector<TLevelFinding>& findings) {
    for (const bool problems : {true, false})
        for (const TLevelFinding& finding : findings)
            if (finding.IsProblem() == problems) out << finding.kind << ": " << finding.message << "\n";
    const size_t problemCount = CountProblems(findings), secrets = findings.size() - problemCount;
    out << problemCount << (problemCount == 1 ? " problem, " : " problems, ") << secrets << (secrets == 1 ? " secret\n" : " secrets\n");
}

int RunCheckCommand(const std::vector<std::string>& args) {
    std::vector<std::string> paths;
    bool json = false;
    if (!ParseFilesAndJson(args, 1, "--check", paths, json)) return kCommandCannotRead;
    try {
        TTombRaiderLevel level;
        if (!ReadLevelArgument(paths[0], level)) return kCommandCannotRead;
        const std::vector<TLevelFinding> findings = CheckLevel(level);
        if (json) WriteFindingsJson(std::cout, findings);
        else WriteFindingsText(std::cout, findings);
        if (!FlushStandardOutput()) return kCommandCannotRead;
        return CountProblems(findings) ? 1 : 0;
    } catch (const std::exception& error) {
        PrintCommandFailure(error, paths[0]);
        return kCommandCannotRead;
    }
}

}  // namespace grottix
