#pragma once
// Image files at the application's edge: reading any picture the program reads as a texture, and
// writing with the writer for a path's extension (bmp, ppm, m8, tga, bmz, wz1, wz2, pcx, jpg/jpeg
// through our codecs; png through libpng). Call InitializeImageCodecs first.

#include <string>
#include <vector>

#include "codecs/Bitmap.h"

namespace grottix {

// Raises the codec's error, or "Unknown image type: ..." saying why no reader takes the file.
TBitmap ReadImageFile(const std::string& path);
// Raises "Can not determine file type!" for an extension without a writer.
std::vector<uint8_t> EncodeImage(const TBitmap& image, const std::string& path);
// Encodes, then writes beside the target and renames over it; any failure is an EOutputFailure naming path.
void WriteImageFile(const TBitmap& image, const std::string& path);

}  // namespace grottix
