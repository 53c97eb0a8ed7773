#pragma once
// Bilinear resampling of 24-bit pictures in 16.16 fixed point. The aspect ratio is not
// kept: the target keeps the size it has.
#include "desktop/bitmap.h"

#include <cstdint>

namespace desk {

// MulDiv: a * b / c in 64 bits, rounded to the nearest integer (halves away from zero);
// -1 when c is 0 or the result does not fit 32 bits.
std::int32_t mulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

// The source rows as the resampler asks for them: pairs (r, r or r + 1) with r never
// decreasing from one call to the next, so a decoder can hand them over as it goes.
class SourceRows {
public:
    virtual ~SourceRows() = default;
    // The two rows; valid until the next call.
    virtual void rows(int r1, int r2, const std::uint8_t*& line1, const std::uint8_t*& line2) = 0;
};

// Fills target (of any size) from a source of sourceWidth x sourceHeight pixels, both
// at least 1. Source sizes equal to the target's are the caller's to copy.
void resampleRows(int sourceWidth, int sourceHeight, SourceRows& source, Bitmap& target);

// The target becomes a copy of the source when both have the same size; otherwise it
// keeps its size and is filled from the source. An empty source leaves it black.
void resampleBilinear(const Bitmap& source, Bitmap& target);

}  // namespace desk
