#pragma once
// TPPMBitmap: portable pixmaps, binary ("P6") and ASCII ("P3"). The only separators are line feed
// and space; the maximum sample value is read but never used to scale. Reading a file sets the
// ASCII flag to its variant, and the writer writes the variant the flag names.

#include <string>

#include "codecs/Bitmap.h"
#include "codecs/PictureFormats.h"

namespace grottix {

// A text that is not a decimal integer: "'%s' is not a valid integer value".
class EConvertError : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};

// Converts a decimal integer as the platform's StrToInt does, raising EConvertError otherwise.
int StrToInt(const std::string& text);

class TPPMBitmap : public TBitmap {
public:
    static const TGraphicClass& ClassInfo();
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

    bool ASCII() const { return ascii_; }
    void SetASCII(bool ascii) { ascii_ = ascii; }

private:
    bool ascii_ = false;
};

TUnitRegistration& PPMUnit();

}  // namespace grottix
