#pragma once
// The names the glTF export gives the nodes of placed objects and sprites, as Blender's outliner
// shows them.

#include <string>

namespace grottix {

// An item: its entity type's name and its index in the level's entities table ("Object 12 #3"
// until the export has the games' names for entity types); index -1 (a moveable on its own) the name alone.
std::string ItemNodeName(int versionCode, int type, int index);
// A static mesh: its object id and its number among the level's static meshes ("static 5 #0").
std::string StaticNodeName(int objectId, int number);
// A sprite: its number among its room's sprites and the room ("sprite 0 (room 3)"); room -1 for
// none.
std::string SpriteNodeName(int number, int room);

}  // namespace grottix
