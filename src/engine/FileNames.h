#pragma once
// Names of textures and data files as the scene meets them in worlds, levels and texture lists.
// Such names may come from another system, so both '\' and '/' separate folders; paths the scene
// builds itself use '/'.

#include <string>

#include "engine/EngineTypes.h"

namespace grottix {

// The name as the scene uses it: cut at its first NUL character and trimmed of blanks.
std::string CleanName(const std::string& name);
// The part after the last '\' or '/'.
std::string FileNamePart(const std::string& path);
// Everything up to and including the last '\' or '/'; empty when there is none.
std::string FolderPart(const std::string& path);
// A folder with a trailing '/' added when it ends in neither separator; empty stays empty.
std::string WithTrailingSeparator(const std::string& folder);
// The folder the program was started from, with a trailing '/'.
std::string ProgramFolder();
// The folder the process works in, with a trailing '/'.
std::string CurrentFolder();

// The regular file a path names: the path itself, the path with '\' read as '/', or a file of the
// same folder whose name differs only in case. Empty when there is none.
std::string FindExistingFile(const std::string& path);

// Position of the entry of a named list called name: an exact match first (cheap), then one that
// differs only in case. -1 when there is none.
template <typename List>
int IndexOfName(const List& list, const std::string& name) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].Name == name) return int(i);
    for (size_t i = 0; i < list.size(); ++i)
        if (SameTextIgnoringCase(list[i].Name, name)) return int(i);
    return -1;
}

// Position of the first entry whose file-name part equals the name's, ignoring case; -1 when none.
template <typename List>
int IndexOfFileNamePart(const List& list, const std::string& name) {
    const std::string part = FileNamePart(name);
    for (size_t i = 0; i < list.size(); ++i)
        if (SameTextIgnoringCase(FileNamePart(list[i].Name), part)) return int(i);
    return -1;
}

}  // namespace grottix
