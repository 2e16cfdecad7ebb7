#pragma once
// What each game calls the objects of its levels: the name of an entity (or moveable) type for a
// level's version code, as the game's object list gives it.

#include <string>

namespace grottix {

// The name of type in the object list of the game of versionCode (1..7); "Object N" for a type the
// list does not name.
std::string ObjectName(int versionCode, int type);

}  // namespace grottix
