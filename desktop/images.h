#pragma once
// The picture operations of the toolkit on plain inputs: conversions between bitmap and
// JPEG files, and shrinking a JPEG file.
#include "desktop/bitmap.h"
#include "desktop/jpegimage.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace desk {

// The quality a shrunk picture is written with.
constexpr int kReducedQuality = 50;

// Loads fileName as the kind its extension names ("jpg", "jpeg", "bmp", any letter
// case) into a bitmap. Throws PictureError: "Unknown picture file extension (.EXT)", the
// file-opening error naming the file, "Bitmap image is not valid", "JPEG error #N".
Bitmap loadPicture(const QString& fileName);

// fileName read as a bitmap file, whatever its extension, held as a new JPEG image of
// the default quality. Throws PictureError.
std::unique_ptr<JpegImage> bitmapFileToJpeg(const QString& fileName);

// Decodes the JPEG file into bitmap; false (bitmap untouched) when it cannot be read or
// decoded.
bool loadJpegIntoBitmap(const QString& fileName, Bitmap& bitmap);
// Writes bitmap as a JPEG of quality 50, replacing fileName; throws PictureError.
void saveBitmapAsJpeg(const Bitmap& bitmap, const QString& fileName);

// Shrinks (or enlarges) the JPEG inFileName to exactly toW x toH pixels and writes it
// to outFileName at quality 50. Bilinear resampling starts from the picture decoded at
// 1/8, 1/4 or 1/2 of its size when that still covers toW x toH, else at full size. False, with nothing written, when the input cannot be
// read as a JPEG; throws PictureError when the output cannot be written.
bool reduceJpgSize(const QString& inFileName, const QString& outFileName, std::uint16_t toW, std::uint16_t toH);

}  // namespace desk
