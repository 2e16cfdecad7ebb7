#pragma once
// Failures of the configuration keys and profiles. Messages are shown to the user as they are.

#include "storage/Exceptions.h"

namespace grottix {

class ERegistryError : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};

}  // namespace grottix
