#pragma once
// Preparing images for device textures: built-in colour images, square tiling, power-of-two
// squares, the texture quality modes, smoothing and the pixel formats textures are made from.
// Plain functions on TBitmap; the scene's texture registry decides when each one applies.

#include <optional>
#include <string>

#include "codecs/Bitmap.h"

namespace grottix {

// The colour of a built-in colour name, any case: "black", "white", "gray1" ... "gray15"
// (grayN is 16 * N in every channel). Nothing for other names.
std::optional<TColor> BuiltInColor(const std::string& name);
// A 24-bit 2 x 2 image of one colour.
TBitmap SolidImage(TColor color);

// Makes a non-square image square (side max(w, h)) by repeating it: below itself when it is wider
// than tall, beside itself otherwise. The last row and column of the square are not copied over.
void TileToSquare(TBitmap& image);

// The side a w x h image is fitted to: the next power of two from 2 up, anything above 512 giving
// 1024. 0 when the image is already a square of 2, 4, ... 1024.
int FittedSide(int width, int height);
// Resizes to FittedSide (existing pixels keep their place); with redraw the image as it was, less
// its last row and column, is then stretched over the whole square. An empty image stays empty.
void FitToSquare(TBitmap& bitmap, bool redraw);

// Texture quality modes: 1 half size, 2 quarter size, 3 double size smoothed, 4 a 2 x 2 image,
// anything else the image as it is. fitSizes says whether images end as power-of-two squares
// (as FitToSquare makes them).
void ApplyTextureQuality(TBitmap& image, int quality, bool fitSizes);
// Averages every pixel with its right, lower and lower-right neighbours, except pixels with a zero
// colour byte (black stays black) and the last row and column. Leaves the image 24-bit.
void Smooth(TBitmap& image);

// Raises every colour byte below 8 to 8, so that no pixel matches the black colour key.
void RaiseDarkBytes(TBitmap& image);
// Pixel format of a loaded texture image: 1- and 4-bit become 8-bit when black is kept (24-bit
// otherwise), anything else but 24 and 32 bits becomes 24-bit. Without keepBlack dark bytes rise.
void PrepareLoadedImageFormat(TBitmap& image, bool keepBlack);
// Pixel format of a caller's bitmap: 1- and 4-bit become 8-bit, anything else but 24 and 32 bits
// (8-bit included) becomes 24-bit.
void PrepareRegisteredBitmapFormat(TBitmap& bitmap);

}  // namespace grottix
