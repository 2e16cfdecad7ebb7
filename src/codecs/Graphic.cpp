#include "codecs/Graphic.h"

#include "storage/Stream.h"

namespace grottix {

void TGraphic::LoadFromFile(const std::string& path) {
    TMemoryStream stream(ReadWholeFile(path));
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& path) {
    TMemoryStream stream;
    SaveToStream(stream);
    WriteFileAtomically(path, stream.Bytes().data(), stream.Bytes().size());
}

}  // namespace grottix
