#include "jpegimage.h"

#include "desktop/bitmapfile.h"
#include "desktop/jpegcodec.h"

namespace desk {

void JpegImage::setCompressionQuality(int quality) {
    const int q = quality < 1 ? 1 : quality > 100 ? 100
                                                  : quality;
    if (q != m_quality && m_pending)
        m_data.clear();  // encoded again at the new quality
    m_quality = q;
}

void JpegImage::assign(const Bitmap& bitmap) {
    m_pending = bitmap;
    m_data.clear();
    m_width = bitmap.width();
    m_height = bitmap.height();
}

void JpegImage::loadFromData(const QByteArray& data) {
    JpegReader reader;  // the header alone tells the size, and checks it is a JPEG
    reader.setMemory(data);
    reader.start();
    m_width = reader.width();
    m_height = reader.height();
    m_pending.reset();
    m_data = data;
}

void JpegImage::loadFromFile(const QString& fileName) { loadFromData(readWholeFile(fileName)); }

void JpegImage::saveToFile(const QString& fileName) const { replaceFile(fileName, data()); }

const QByteArray& JpegImage::data() const {
    if (m_pending && m_data.isEmpty() && !m_pending->isEmpty())
        m_data = encodeJpeg(*m_pending, m_quality);
    return m_data;
}

Bitmap JpegImage::toBitmap() const {
    if (m_pending && m_pending->isEmpty())
        return {};
    if (m_pending)
        return decodeJpeg(data());  // what a reader of the encoded form would see
    if (m_data.isEmpty())
        return {};
    return decodeJpeg(m_data);
}

int JpegImage::width() const { return m_width; }
int JpegImage::height() const { return m_height; }

}  // namespace desk
