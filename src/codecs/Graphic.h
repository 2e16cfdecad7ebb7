#pragma once
// TGraphic: what every picture format offers, whatever it keeps inside. A codec decodes from and
// encodes to a stream at the stream's current position; files are read whole and written beside
// the target, then renamed over it.

#include <string>

#include "storage/Exceptions.h"

namespace grottix {

// A picture that its format cannot read ("Bitmap image is not valid" for the platform bitmap).
class EInvalidGraphic : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};

class TBitmap;
class TStream;

class TGraphic {
public:
    virtual ~TGraphic() = default;

    // Decodes the format from the stream's current position.
    virtual void LoadFromStream(TStream& stream) = 0;
    // Encodes the image at the stream's current position.
    virtual void SaveToStream(TStream& stream) = 0;
    // Storage as a component property: the same as LoadFromStream and SaveToStream.
    virtual void ReadData(TStream& stream) { LoadFromStream(stream); }
    virtual void WriteData(TStream& stream) { SaveToStream(stream); }

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    // Copies the image (size, format, pixels, palette) into a bitmap.
    virtual void AssignTo(TBitmap& destination) const = 0;

    void LoadFromFile(const std::string& path);
    // The file is replaced only once the whole image is encoded and written.
    void SaveToFile(const std::string& path);

protected:
    TGraphic() = default;
    TGraphic(const TGraphic&) = default;
    TGraphic& operator=(const TGraphic&) = default;
    TGraphic(TGraphic&&) = default;
    TGraphic& operator=(TGraphic&&) = default;
};

}  // namespace grottix
