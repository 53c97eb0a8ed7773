#pragma once
// Windows bitmap files (.bmp): reading every uncompressed kind (1, 4, 8 bits with a
// palette, 16 bits 5-5-5, 24 and 32 bits) into the 24-bit form, writing the 24-bit form.
#include "desktop/bitmap.h"

#include <QByteArray>

namespace desk {

// Throws PictureError "Bitmap image is not valid" for anything that is not a complete
// bitmap of a kind above (compressed kinds included).
Bitmap decodeBitmapFile(const QByteArray& data);
// Throws PictureError naming the file when it cannot be opened.
Bitmap readBitmapFile(const QString& fileName);

QByteArray encodeBitmapFile(const Bitmap& bitmap);
// Replaces fileName as a whole; throws PictureError naming it when it cannot be written.
void writeBitmapFile(const Bitmap& bitmap, const QString& fileName);

// The contents of a file; throws PictureError naming it when it cannot be opened or read.
QByteArray readWholeFile(const QString& fileName);
// Replaces fileName with data in one step (an existing file stays whole on failure).
void replaceFile(const QString& fileName, const QByteArray& data);

}  // namespace desk
