#pragma once
// A picture of 24 bits per pixel: rows top to bottom, each pixel three bytes in the order
// blue, green, red, rows packed without padding. The one form that resampling, the JPEG
// codec and the bitmap files meet in.
#include <QString>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace desk {

// A picture that cannot be loaded, decoded or written; the message is the user's.
class PictureError : public std::runtime_error {
public:
    explicit PictureError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

class Bitmap {
public:
    // The largest picture held in memory (1 GiB of pixels); a file claiming more is
    // refused instead of exhausting the machine.
    static constexpr std::uint64_t kMaxBytes = std::uint64_t(1) << 30;

    Bitmap() = default;
    Bitmap(int width, int height) { setSize(width, height); }

    // Black pixels; throws PictureError beyond kMaxBytes or for a negative size.
    void setSize(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isEmpty() const { return m_width == 0 || m_height == 0; }
    int bytesPerLine() const { return m_width * 3; }

    std::uint8_t* scanLine(int y) { return m_pixels.data() + std::size_t(y) * bytesPerLine(); }
    const std::uint8_t* scanLine(int y) const { return m_pixels.data() + std::size_t(y) * bytesPerLine(); }
    const std::vector<std::uint8_t>& pixels() const { return m_pixels; }

    bool operator==(const Bitmap&) const = default;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_pixels;
};

// The message of a file that cannot be opened, naming it and giving the system's text.
QString openFailedMessage(const QString& fileName, int errorNumber);
// Likewise for a file that cannot be created or written.
QString createFailedMessage(const QString& fileName, const QString& reason);

}  // namespace desk
