#pragma once
// Saving the current view as an image file: the save dialog's filter, the writer chosen by
// extension (bmp, ppm, m8, tga, png), and the backup copy of a file that is overwritten.

#include <optional>
#include <string>

#include "codecs/Bitmap.h"
#include "storage/Exceptions.h"

namespace grottix {

inline constexpr const char* kSaveViewFilter =
    "Bitmaps (*.bmp)|*.bmp|Portable Pixelmap (*.ppm)|*.ppm|M8 (Heretic2) Mipmap (*.m8)|*.m8|TrueVision Targa (*.tga)|*.tga|"
    "Portable Network Graphics (*.png)|*.png";
inline constexpr const char* kUnknownFileType = "Can not determine file type!";

// Raised when a name's extension has no writer.
class EUnknownFileType : public EGrottixError {
public:
    EUnknownFileType() : EGrottixError(kUnknownFileType) {}
};

// The extension the filter index (1-based) stands for, or none.
std::optional<std::string> ExtensionOfFilterIndex(int index);
// The name to save under: the name itself when it has an extension, else the name with the
// extension of the filter index; EUnknownFileType when neither gives one.
std::string SaveViewFileName(const std::string& name, int filterIndex);
// The backup name of a file: "~" inserted after the dot of its extension (a.bmp -> a.~bmp), or none
// when the extension has no character after the dot.
std::optional<std::string> BackupFileName(const std::string& path);
// Writes the view with the writer for the path's extension (case-insensitive); an existing file is
// first copied to its backup name. EUnknownFileType for other extensions; nothing is written then.
void SaveViewImage(const TBitmap& view, const std::string& path);

}  // namespace grottix
