#pragma once
// Starting and ending the codec units: registers every picture format in its place in the list, and
// removes them again. Both may be called any number of times; see TUnitRegistration.

#include <memory>
#include <string>

#include "codecs/Graphic.h"

namespace grottix {

void InitializeImageCodecs();
void FinalizeImageCodecs();

// A new, empty graphic of the class registered for the path's extension (any case), or null.
std::unique_ptr<TGraphic> CreateGraphicForFile(const std::string& path);

}  // namespace grottix
