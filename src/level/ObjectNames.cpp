#include "level/ObjectNames.h"

namespace grottix {

std::string ObjectName(int /*versionCode*/, int type) { return "Object " + std::to_string(type); }

}  // namespace grottix
