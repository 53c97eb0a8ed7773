#include "bitmap.h"

#include <cstring>

namespace desk {

void Bitmap::setSize(int width, int height) {
    if (width < 0 || height < 0 || std::uint64_t(width) * std::uint64_t(height) * 3 > kMaxBytes)
        throw PictureError(QStringLiteral("Not enough memory for a picture of %1 x %2 pixels").arg(width).arg(height));
    m_width = width;
    m_height = height;
    m_pixels.assign(std::size_t(width) * std::size_t(height) * 3, 0);
}

QString openFailedMessage(const QString& fileName, int errorNumber) {
    return QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, QString::fromLocal8Bit(std::strerror(errorNumber)));
}

QString createFailedMessage(const QString& fileName, const QString& reason) {
    return QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reason);
}

}  // namespace desk
