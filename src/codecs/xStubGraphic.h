#pragma once
// Stub graphics for the container extensions "pak", "wad" and "bsp": loading never reads the stream
// and gives a 16 x 16 white square with a one-pixel grey outline; saving writes nothing.

#include "codecs/Bitmap.h"
#include "codecs/PictureFormats.h"

namespace grottix {

class TStubBitmap : public TBitmap {
public:
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
};

// Three classes so that three extensions have distinct registrations.
class TStubPAKBitmap : public TStubBitmap {
public:
    static const TGraphicClass& ClassInfo();
};
class TStubWADBitmap : public TStubBitmap {
public:
    static const TGraphicClass& ClassInfo();
};
class TStubBSPBitmap : public TStubBitmap {
public:
    static const TGraphicClass& ClassInfo();
};

TUnitRegistration& StubGraphicUnit();

}  // namespace grottix
