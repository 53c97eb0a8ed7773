// The toolkit's picture operations.
#include "toolkit/tools.h"

#include "desktop/images.h"
#include "desktop/resample.h"

std::unique_ptr<desk::JpegImage> TTools::ConvertBMP2JPG(const QString& FileName) {
    return desk::bitmapFileToJpeg(FileName);
}

std::unique_ptr<desk::Bitmap> TTools::ConvertJPG2BMP(const QString& FileName) {
    return std::make_unique<desk::Bitmap>(desk::loadPicture(FileName));
}

bool TTools::ReduceJpgSize(const QString& InFileName, const QString& OutFileName, quint16 ToW, quint16 ToH) {
    return desk::reduceJpgSize(InFileName, OutFileName, ToW, ToH);
}

bool TTools::LoadJpegIntoBitmap(const QString& FileName, desk::Bitmap& Bmp) {
    return desk::loadJpegIntoBitmap(FileName, Bmp);
}

void TTools::SaveBitmapAsJpeg(const desk::Bitmap& Bmp, const QString& FileName) {
    desk::saveBitmapAsJpeg(Bmp, FileName);
}

void TTools::ResampleBilinear(const desk::Bitmap& Source, desk::Bitmap& Target) {
    desk::resampleBilinear(Source, Target);
}
