#pragma once
// The JPEG codec, one owner per codec object: each reader and writer creates its libjpeg
// object in its constructor and destroys it in its destructor, on every path. Codec
// failures become PictureError "JPEG error #N" with the codec's message number; nothing
// in the library may end the process.
#include "desktop/bitmap.h"

#include <QByteArray>
#include <cstdio>
#include <memory>

namespace desk {

struct JpegErrorManager;

// Decodes one JPEG (at full size unless asked otherwise) into 24-bit rows (blue, green, red) with the slow,
// exact DCT and smoothed upsampling, row by row, so a caller that needs few rows at a
// time never holds the whole picture.
class JpegReader {
public:
    JpegReader();
    ~JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    // The source; the memory must outlive the reader. openFile throws PictureError
    // naming the file when it cannot be opened.
    void openFile(const QString& fileName);
    void setMemory(const QByteArray& data);
    // Reads the header and starts decoding; throws PictureError. Given a size to cover,
    // the picture is decoded at 1/8, 1/4 or 1/2 of its size in the transform itself when
    // that still gives at least coverWidth x coverHeight pixels, otherwise at full size.
    void start(int coverWidth = 0, int coverHeight = 0);
    int width() const;
    int height() const;
    int nextRow() const;
    // Decodes the next row into out (width() * 3 bytes); throws PictureError.
    void readRow(std::uint8_t* out);
    // Decodes and drops count rows.
    void skipRows(int count);

private:
    std::unique_ptr<JpegErrorManager> m_err;
    struct Impl;
    std::unique_ptr<Impl> m_d;
};

// Decodes a whole JPEG held in memory or in a file.
Bitmap decodeJpeg(const QByteArray& data);
Bitmap readJpegFile(const QString& fileName);

// Encodes bitmap as a baseline colour JPEG of quality 1..100; throws PictureError.
QByteArray encodeJpeg(const Bitmap& bitmap, int quality);

}  // namespace desk
