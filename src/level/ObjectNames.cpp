#include "level/ObjectNames.h"

#include <charconv>
#include <string_view>
#include <unordered_map>

namespace grottix {

namespace {

// Each game's object list as "type name" lines, kept as data beside this file.
constexpr std::string_view kTr1Objects =
#include "level/objects/Tr1Objects.inc"
    ;
constexpr std::string_view kTr2Objects =
#include "level/objects/Tr2Objects.inc"
    ;
constexpr std::string_view kTr3Objects =
#include "level/objects/Tr3Objects.inc"
    ;
// The Last Revelation (with the slots later level editors added) and Chronicles, made from their slot
// tables beside them by tools/object_names/slot_names.py.
constexpr std::string_view kTr4Objects =
#include "level/objects/Tr4Objects.inc"
    ;
constexpr std::string_view kTr5Objects =
#include "level/objects/Tr5Objects.inc"
    ;

using TNameTable = std::unordered_map<int, std::string>;

TNameTable parseTable(std::string_view lines) {
    TNameTable table;
    while (!lines.empty()) {
        const size_t end = std::min(lines.find('\n'), lines.size());
        const std::string_view line = lines.substr(0, end);
        lines.remove_prefix(std::min(end + 1, lines.size()));
        int type = 0;
        const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), type);
        if (error == std::errc() && rest < line.data() + line.size() && *rest == ' ')
            table.emplace(type, std::string(rest + 1, line.data() + line.size()));
    }
    return table;
}

const TNameTable* tableFor(int versionCode) {
    static const TNameTable tr1 = parseTable(kTr1Objects), tr2 = parseTable(kTr2Objects), tr3 = parseTable(kTr3Objects),
                            tr4 = parseTable(kTr4Objects), tr5 = parseTable(kTr5Objects);
    switch (versionCode) {
        case 1: case 2: return &tr1;
        case 3: case 4: return &tr2;
        case 5: return &tr3;
        case 6: return &tr4;
        case 7: return &tr5;
        default: return nullptr;
    }
}

}  // namespace

std::string ObjectName(int versionCode, int type) {
    if (const TNameTable* table = tableFor(versionCode)) {
        const auto found = table->find(type);
        if (found != table->end()) return found->second;
    }
    return "Object " + std::to_string(type);
}

}  // namespace grottix
