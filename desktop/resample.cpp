#include "resample.h"

#include <algorithm>
#include <vector>

namespace desk {

std::int32_t mulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
    if (c == 0)
        return -1;
    const std::int64_t product = std::int64_t(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::uint64_t num = product < 0 ? std::uint64_t(-product) : std::uint64_t(product);
    const std::uint64_t den = c < 0 ? std::uint64_t(-std::int64_t(c)) : std::uint64_t(c);
    const std::uint64_t q = (num + den / 2) / den;
    if (q > 0x7FFFFFFFu)
        return -1;
    return negative ? -std::int32_t(q) : std::int32_t(q);
}

void resampleRows(int sw, int sh, SourceRows& source, Bitmap& target) {
    const int tw = target.width();
    const int th = target.height();
    if (tw == 0 || th == 0)
        return;
    const std::int32_t xStep = mulDiv(sw - 1, 65536, tw);
    const std::int32_t yStep = mulDiv(sh - 1, 65536, th);
    // What a target column takes from a source row is the same on every row: the byte
    // offsets of its two neighbours and its fraction.
    struct Column {
        std::uint32_t left, right, zx;
    };
    std::vector<Column> columns(static_cast<std::size_t>(tw));
    std::uint32_t xPos = 0;
    for (Column& col : columns) {
        // Rounding up in the steps cannot carry a position past the last row or
        // column for sizes below 2^17; the clamps keep any other size in the picture.
        const int c = std::min(int(xPos >> 16), sw - 1);
        col = {std::uint32_t(c) * 3, std::uint32_t(c < sw - 1 ? c + 1 : c) * 3, xPos & 65535};
        xPos += std::uint32_t(xStep);
    }
    std::uint32_t yPos = 0;
    for (int y = 0; y < th; ++y, yPos += std::uint32_t(yStep)) {
        const int r = std::min(int(yPos >> 16), sh - 1);
        const std::uint8_t* line1;
        const std::uint8_t* line2;
        source.rows(r, r < sh - 1 ? r + 1 : r, line1, line2);
        const std::uint32_t zy = (yPos & 65535) + 1;      // 1..65536
        const std::uint32_t izy = ((~yPos) & 65535) + 1;  // 65536 - (yPos & 65535)
        std::uint8_t* out = target.scanLine(y);
        for (const Column& col : columns) {
            // MulDiv(zx, izy, 65536) and MulDiv(zx, zy, 65536): below 2^32 with the half added.
            const std::uint32_t w2 = (col.zx * izy + 32768) >> 16;
            const std::uint32_t w1 = izy - w2;
            const std::uint32_t w4 = (col.zx * zy + 32768) >> 16;
            const std::uint32_t w3 = zy - w4;
            const std::uint8_t* a = line1 + col.left;
            const std::uint8_t* b = line1 + col.right;
            const std::uint8_t* p = line2 + col.left;
            const std::uint8_t* q = line2 + col.right;
            // The four weights sum to 65537: at most 255 after the shift.
            out[0] = std::uint8_t((a[0] * w1 + b[0] * w2 + p[0] * w3 + q[0] * w4) >> 16);
            out[1] = std::uint8_t((a[1] * w1 + b[1] * w2 + p[1] * w3 + q[1] * w4) >> 16);
            out[2] = std::uint8_t((a[2] * w1 + b[2] * w2 + p[2] * w3 + q[2] * w4) >> 16);
            out += 3;
        }
    }
}

namespace {

class BitmapRows : public SourceRows {
public:
    explicit BitmapRows(const Bitmap& b) : m_b(b) {}
    void rows(int r1, int r2, const std::uint8_t*& line1, const std::uint8_t*& line2) override {
        line1 = m_b.scanLine(r1);
        line2 = m_b.scanLine(r2);
    }

private:
    const Bitmap& m_b;
};

}  // namespace

void resampleBilinear(const Bitmap& source, Bitmap& target) {
    if (source.width() == target.width() && source.height() == target.height()) {
        target = source;
        return;
    }
    if (source.isEmpty()) {
        target.setSize(target.width(), target.height());
        return;
    }
    BitmapRows rows(source);
    resampleRows(source.width(), source.height(), rows, target);
}

}  // namespace desk
