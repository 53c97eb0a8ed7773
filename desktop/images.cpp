#include "images.h"

#include "desktop/bitmapfile.h"
#include "desktop/jpegcodec.h"
#include "desktop/resample.h"

#include <QFileInfo>
#include <cstring>

namespace desk {

Bitmap loadPicture(const QString& fileName) {
    // The kind comes from the name before the file is opened, as the picture loader
    // picks its reader.
    const QString ext = QFileInfo(fileName).suffix();
    const QString kind = ext.toLower();
    if (kind == u"jpg" || kind == u"jpeg")
        return readJpegFile(fileName);
    if (kind == u"bmp")
        return readBitmapFile(fileName);
    throw PictureError(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
}

std::unique_ptr<JpegImage> bitmapFileToJpeg(const QString& fileName) {
    auto jpeg = std::make_unique<JpegImage>();
    jpeg->assign(readBitmapFile(fileName));
    return jpeg;
}

bool loadJpegIntoBitmap(const QString& fileName, Bitmap& bitmap) {
    try {
        bitmap = readJpegFile(fileName);
        return true;
    } catch (const PictureError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void saveBitmapAsJpeg(const Bitmap& bitmap, const QString& fileName) {
    replaceFile(fileName, encodeJpeg(bitmap, kReducedQuality));
}

namespace {

// Hands the decoder's rows to the resampler as they come, keeping two rows, so a large
// picture is never held whole.
class DecodedRows : public SourceRows {
public:
    explicit DecodedRows(JpegReader& reader)
        : m_reader(reader), m_bytes(std::size_t(reader.width()) * 3), m_buffer(m_bytes * 2) {}

    void rows(int r1, int r2, const std::uint8_t*& line1, const std::uint8_t*& line2) override {
        while (m_reader.nextRow() <= r2) {
            const int next = m_reader.nextRow();
            if (next < r1) {
                m_reader.skipRows(r1 - next);  // rows that no target row uses
                continue;
            }
            m_reader.readRow(slot(next));
        }
        line1 = slot(r1);
        line2 = slot(r2);
    }

private:
    std::uint8_t* slot(int row) { return m_buffer.data() + std::size_t(row & 1) * m_bytes; }

    JpegReader& m_reader;
    std::size_t m_bytes;
    std::vector<std::uint8_t> m_buffer;
};

}  // namespace

// Declared in the toolkit's heritage as answering a JPEG image, but none was ever handed
// back: the written file is the product. It answers whether the file was written.
bool reduceJpgSize(const QString& inFileName, const QString& outFileName, std::uint16_t toW, std::uint16_t toH) {
    Bitmap target;
    try {
        target.setSize(toW, toH);
        JpegReader reader;
        reader.openFile(inFileName);
        // A picture shrunk to half its size or less is first reduced in the transform:
        // the resampler would otherwise take two of every several source pixels and skip
        // the rest, after the decoder had made all of them.
        reader.start(toW, toH);
        if (reader.width() == toW && reader.height() == toH) {
            for (int y = 0; y < toH; ++y)
                reader.readRow(target.scanLine(y));
        } else {
            DecodedRows rows(reader);
            resampleRows(reader.width(), reader.height(), rows, target);
            // The rows below the last one used are decoded too: a file cut there is as
            // damaged as any other.
            reader.skipRows(reader.height() - reader.nextRow());
        }
    } catch (const PictureError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    saveBitmapAsJpeg(target, outFileName);
    return true;
}

}  // namespace desk
