#pragma once
// A picture held in JPEG form with a compression quality of 1..100 (90 when new). A
// bitmap assigned to it is encoded when its data is first asked for, with the quality
// set at that time; loaded data is kept as read.
#include "desktop/bitmap.h"

#include <QByteArray>
#include <optional>

namespace desk {

class JpegImage {
public:
    static constexpr int kDefaultQuality = 90;

    int compressionQuality() const { return m_quality; }
    // Values outside 1..100 are taken as the nearest end.
    void setCompressionQuality(int quality);

    void assign(const Bitmap& bitmap);
    // Throws PictureError: the file-opening error naming the file, or "JPEG error #N".
    void loadFromFile(const QString& fileName);
    void loadFromData(const QByteArray& data);
    // Throws PictureError naming the file when it cannot be written.
    void saveToFile(const QString& fileName) const;

    // The JPEG data; empty for an image that holds nothing.
    const QByteArray& data() const;
    // The picture decoded at full size; throws PictureError for damaged data.
    Bitmap toBitmap() const;
    int width() const;
    int height() const;
    bool isEmpty() const { return width() == 0 || height() == 0; }

private:
    int m_quality = kDefaultQuality;
    std::optional<Bitmap> m_pending;  // assigned, not yet encoded
    mutable QByteArray m_data;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace desk
