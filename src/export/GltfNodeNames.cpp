#include "export/GltfNodeNames.h"

#include "level/ObjectNames.h"

namespace grottix {

std::string ItemNodeName(int versionCode, int type, int index) {
    if (index < 0) return ObjectName(versionCode, type);
    return ObjectName(versionCode, type) + " #" + std::to_string(index);
}

std::string StaticNodeName(int objectId, int number) {
    return "static " + std::to_string(objectId) + " #" + std::to_string(number);
}

std::string SpriteNodeName(int number, int room) {
    std::string name = "sprite " + std::to_string(number);
    if (room >= 0) name += " (room " + std::to_string(room) + ")";
    return name;
}

}  // namespace grottix
