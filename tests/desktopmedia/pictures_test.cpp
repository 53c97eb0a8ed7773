// Pictures: bitmap files, the JPEG codec, the loader's errors and shrinking a JPEG file.
// Written files are read back with libjpeg directly, not through the code under test.
#include "desktop/bitmapfile.h"
#include "desktop/images.h"
#include "desktop/jpegcodec.h"
#include "desktop/resample.h"
#include "tests/fixtures/toolsfixture.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace {

using desk::Bitmap;

QString dataFile(const char* name) { return QStringLiteral(BV_TEST_DATA "/") + QLatin1String(name); }

std::map<QString, QByteArray> referenceChecksums() {
    std::map<QString, QByteArray> sums;
    QFile f(dataFile("pictures.sha256"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            sums[QString::fromLatin1(parts[1])] = parts[0];
    }
    return sums;
}

QByteArray pixelSum(const Bitmap& b) {
    return QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(b.pixels().data()), qsizetype(b.pixels().size())),
                                    QCryptographicHash::Sha256)
        .toHex();
}

// What libjpeg itself reads from a file, decoded at 1/denom of its size.
struct Decoded {
    bool ok = false;
    int width = 0, height = 0;
    bool progressive = true;
    std::vector<unsigned> luma, chroma;  // quantisation tables 0 and 1
    Bitmap pixels;
};

Decoded libjpegRead(const QString& fileName, unsigned denom = 1) {
    Decoded r;
    FILE* f = std::fopen(QFile::encodeName(fileName).constData(), "rb");
    if (!f)
        return r;
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);  // the reference files are sound; an error ends the test
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    cinfo.scale_denom = denom;
    jpeg_start_decompress(&cinfo);
    r.width = int(cinfo.output_width);
    r.height = int(cinfo.output_height);
    r.progressive = cinfo.progressive_mode || cinfo.arith_code;
    for (int t = 0; t < 2; ++t)
        if (cinfo.quant_tbl_ptrs[t])
            for (int i = 0; i < DCTSIZE2; ++i)
                (t == 0 ? r.luma : r.chroma).push_back(cinfo.quant_tbl_ptrs[t]->quantval[i]);
    r.pixels.setSize(r.width, r.height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row[1] = {r.pixels.scanLine(int(cinfo.output_scanline))};
        jpeg_read_scanlines(&cinfo, row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    r.ok = true;
    return r;
}

// The tables libjpeg's own encoder uses at a quality.
std::pair<std::vector<unsigned>, std::vector<unsigned>> tablesOfQuality(int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    std::pair<std::vector<unsigned>, std::vector<unsigned>> t;
    for (int i = 0; i < DCTSIZE2; ++i) {
        t.first.push_back(cinfo.quant_tbl_ptrs[0]->quantval[i]);
        t.second.push_back(cinfo.quant_tbl_ptrs[1]->quantval[i]);
    }
    jpeg_destroy_compress(&cinfo);
    return t;
}

// A picture of several block rows, smooth with some grain, encoded by libjpeg itself with
// the sampling of the luma (hSample x vSample; 0 for grey) and in progressive form or not.
QByteArray encodeWithLibjpeg(int width, int height, int hSample, int vSample, bool progressive) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < 3; ++k)
                b.scanLine(y)[x * 3 + k] = std::uint8_t((x * (k + 1) * 5 + y * (3 - k) * 3 + (x * y * 7 + k * 31) % 23) % 256);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    if (hSample == 0) {
        jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    } else {
        cinfo.comp_info[0].h_samp_factor = hSample;
        cinfo.comp_info[0].v_samp_factor = vSample;
    }
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row[1] = {b.scanLine(int(cinfo.next_scanline))};
        jpeg_write_scanlines(&cinfo, row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray data(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return data;
}

// The same picture behind comment segments of more than the reader's buffer, so skipping
// them crosses a refill.
QByteArray behindComments(const QByteArray& jpeg) {
    QByteArray padded = jpeg.left(2);
    for (int i = 0; i < 6; ++i) {
        const int length = 60000;
        padded += char(0xFF);
        padded += char(0xFE);
        padded += char(length >> 8);
        padded += char(length & 0xFF);
        padded += QByteArray(length - 2, char('a' + i));
    }
    return padded + jpeg.mid(2);
}

QByteArray fileBytes(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& name, const QByteArray& data) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

class Pictures : public ToolsFixture {
protected:
    QString temp(const char* name) const { return m_out.filePath(QLatin1String(name)); }
    QTemporaryDir m_out;
};

TEST_F(Pictures, ReferencePicturesDecodeToTheirPixelChecksums) {
    const auto sums = referenceChecksums();
    ASSERT_EQ(sums.size(), 6u);
    TTools& tools = create();
    for (const auto& [name, sum] : sums) {
        const std::unique_ptr<Bitmap> bmp = tools.ConvertJPG2BMP(dataFile(name.toLatin1().constData()));
        EXPECT_EQ(pixelSum(*bmp), sum) << name.toStdString();
    }
}

TEST_F(Pictures, LoaderRaisesTheErrorOfEachKindOfBadFile) {
    TTools& tools = create();
    writeBytes(temp("cut.bmp"), fileBytes(dataFile("rgb7x5.bmp")).left(100));
    writeBytes(temp("cut.jpg"), fileBytes(dataFile("photo48x32.jpg")).left(400));
    writeBytes(temp("text.jpeg"), "not a picture at all");
    QByteArray rle = fileBytes(dataFile("pal5x3.bmp"));
    rle[30] = 2;  // compression: 4-bit run lengths, a kind not read
    writeBytes(temp("rle.bmp"), rle);
    QFile::copy(dataFile("rgb7x5.bmp"), temp("picture.png"));
    struct {
        QString file;
        QString message;  // the start of the message
    } const cases[] = {
        {temp("picture.png"), QStringLiteral("Unknown picture file extension (.png)")},
        {temp("missing.bmp"), QStringLiteral("Cannot open file \"%1\"").arg(temp("missing.bmp"))},
        {temp("missing.JPG"), QStringLiteral("Cannot open file \"%1\"").arg(temp("missing.JPG"))},
        {temp("cut.bmp"), QStringLiteral("Bitmap image is not valid")},
        {temp("rle.bmp"), QStringLiteral("Bitmap image is not valid")},
        {temp("cut.jpg"), QStringLiteral("JPEG error #")},
        {temp("text.jpeg"), QStringLiteral("JPEG error #")},
    };
    for (const auto& c : cases) {
        try {
            tools.ConvertJPG2BMP(c.file);
            ADD_FAILURE() << "no error for " << c.file.toStdString();
        } catch (const desk::PictureError& e) {
            EXPECT_TRUE(e.message().startsWith(c.message)) << e.message().toStdString();
        }
    }
    EXPECT_THROW(tools.ConvertBMP2JPG(temp("cut.bmp")), desk::PictureError);
}

TEST_F(Pictures, BitmapConvertsToAJpegOfTheDefaultQuality) {
    TTools& tools = create();
    const std::unique_ptr<desk::JpegImage> jpeg = tools.ConvertBMP2JPG(dataFile("rgb7x5.bmp"));
    EXPECT_EQ(jpeg->compressionQuality(), 90);
    jpeg->saveToFile(temp("out.jpg"));
    const Decoded d = libjpegRead(temp("out.jpg"));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, 7);
    EXPECT_EQ(d.height, 5);
    EXPECT_FALSE(d.progressive);
    EXPECT_EQ(d.luma, tablesOfQuality(90).first);
}

TEST_F(Pictures, BitmapFilesRoundTripWithRowPadding) {
    const Bitmap source = desk::readBitmapFile(dataFile("rgb7x5.bmp"));  // 21 bytes a row, padded to 24
    desk::writeBitmapFile(source, temp("again.bmp"));
    EXPECT_EQ(fileBytes(temp("again.bmp")).size(), 54 + 24 * 5);
    EXPECT_TRUE(desk::readBitmapFile(temp("again.bmp")) == source);
}

TEST_F(Pictures, ReduceJpgSizeWritesBaselineQuality50AtTheAskedSize) {
    TTools& tools = create();
    const auto q50 = tablesOfQuality(50);
    // The sizes with the fraction of the picture the transform decodes before resampling.
    struct {
        int w, h;
        unsigned denom;
    } const sizes[] = {{48, 32, 1}, {20, 12, 2}, {12, 8, 4}, {6, 4, 8}, {1, 1, 8}, {25, 16, 1}, {24, 17, 1}, {97, 5, 1}};
    for (const auto& [w, h, denom] : sizes) {
        ASSERT_TRUE(tools.ReduceJpgSize(dataFile("photo48x32.jpg"), temp("small.jpg"), quint16(w), quint16(h)));
        const Decoded d = libjpegRead(temp("small.jpg"));
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.width, w);
        EXPECT_EQ(d.height, h);
        EXPECT_FALSE(d.progressive);
        EXPECT_EQ(d.luma, q50.first);
        EXPECT_EQ(d.chroma, q50.second);
        // Decoding row by row gives the same file as the whole (reduced) picture resampled.
        Bitmap target(w, h);
        tools.ResampleBilinear(libjpegRead(dataFile("photo48x32.jpg"), denom).pixels, target);
        tools.SaveBitmapAsJpeg(target, temp("whole.jpg"));
        EXPECT_EQ(fileBytes(temp("small.jpg")), fileBytes(temp("whole.jpg"))) << w << "x" << h;
    }
}

// Row by row the reader skips the rows no target row uses, whole block rows among them
// for small targets; the file written is still that of the whole picture, reduced in the
// transform by the fraction given, resampled.
TEST_F(Pictures, ReduceJpgSizeOfEachSamplingMatchesTheWholePictureResampled) {
    TTools& tools = create();
    struct {
        const char* name;
        int h, v;
        bool progressive;
    } const kinds[] = {{"s420.jpg", 2, 2, false}, {"s422.jpg", 2, 1, false}, {"s440.jpg", 1, 2, false}, {"s444.jpg", 1, 1, false}, {"grey.jpg", 0, 0, false}, {"prog.jpg", 2, 2, true}};
    for (const auto& kind : kinds) {
        const QByteArray jpeg = encodeWithLibjpeg(203, 157, kind.h, kind.v, kind.progressive);
        writeBytes(temp(kind.name), jpeg);
        writeBytes(temp("padded.jpg"), behindComments(jpeg));
        Bitmap full;
        ASSERT_TRUE(tools.LoadJpegIntoBitmap(temp(kind.name), full));
        EXPECT_TRUE(full == libjpegRead(temp(kind.name)).pixels) << kind.name;
        struct {
            int w, h;
            unsigned denom;
        } const sizes[] = {{40, 30, 4}, {51, 40, 4}, {7, 150, 1}, {203, 2, 1}, {3, 3, 8}, {1, 1, 8}, {101, 78, 2}, {102, 79, 2}, {103, 79, 1}, {300, 5, 1}, {64, 157, 1}};
        for (const auto& [w, h, denom] : sizes) {
            Bitmap target(w, h);
            tools.ResampleBilinear(denom == 1 ? full : libjpegRead(temp(kind.name), denom).pixels, target);
            tools.SaveBitmapAsJpeg(target, temp("whole.jpg"));
            for (const char* input : {kind.name, "padded.jpg"}) {
                ASSERT_TRUE(tools.ReduceJpgSize(temp(input), temp("small.jpg"), quint16(w), quint16(h)));
                EXPECT_EQ(fileBytes(temp("small.jpg")), fileBytes(temp("whole.jpg"))) << input << " " << w << "x" << h;
            }
        }
    }
}

// A file cut anywhere is refused, also where the cut falls in rows that are skipped.
TEST_F(Pictures, ReduceJpgSizeRefusesAFileCutInRowsItSkips) {
    TTools& tools = create();
    const QByteArray jpeg = encodeWithLibjpeg(203, 157, 2, 2, false);
    for (const double part : {0.2, 0.5, 0.8, 0.97}) {
        writeBytes(temp("cut.jpg"), jpeg.left(qsizetype(jpeg.size() * part)));
        for (const auto& [w, h] : {std::pair{3, 3}, {40, 2}, {203, 157}}) {
            EXPECT_FALSE(tools.ReduceJpgSize(temp("cut.jpg"), temp("out.jpg"), quint16(w), quint16(h))) << part << " " << w;
            EXPECT_FALSE(QFile::exists(temp("out.jpg")));
        }
    }
}

TEST_F(Pictures, ReduceJpgSizeToItsOwnSizeKeepsThePixelsBeforeEncoding) {
    TTools& tools = create();
    ASSERT_TRUE(tools.ReduceJpgSize(dataFile("photo48x32.jpg"), temp("same.jpg"), 48, 32));
    const Bitmap source = libjpegRead(dataFile("photo48x32.jpg")).pixels;
    EXPECT_EQ(fileBytes(temp("same.jpg")), desk::encodeJpeg(source, 50));
}

TEST_F(Pictures, ReduceJpgSizeOfADamagedInputWritesNothing) {
    TTools& tools = create();
    const QByteArray good = fileBytes(dataFile("photo48x32.jpg"));
    QByteArray flipped = good;
    for (qsizetype i = good.size() / 2; i < good.size() - 2; ++i)
        flipped[i] = char(0xFF);  // entropy data turned into markers
    QByteArray huge = good;       // a header claiming 65500 x 65500 pixels before little data
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    for (qsizetype i : {frame + 5, frame + 6, frame + 7, frame + 8})
        huge[i] = char(i % 2 == (frame + 5) % 2 ? 0xFF : 0xDC);
    struct {
        const char* name;
        QByteArray bytes;
    } const inputs[] = {{"cut.jpg", good.left(good.size() - 200)},
                        {"huge.jpg", huge},
                        {"empty.jpg", {}},
                        {"flipped.jpg", flipped},
                        {"bitmap.jpg", fileBytes(dataFile("rgb7x5.bmp"))}};
    for (const auto& in : inputs) {
        writeBytes(temp(in.name), in.bytes);
        EXPECT_FALSE(tools.ReduceJpgSize(temp(in.name), temp("out.jpg"), 10, 10)) << in.name;
        EXPECT_FALSE(QFile::exists(temp("out.jpg"))) << in.name;
    }
    EXPECT_FALSE(tools.ReduceJpgSize(temp("missing.jpg"), temp("out.jpg"), 10, 10));
}

TEST_F(Pictures, ReduceJpgSizeRaisesWhenTheOutputCannotBeWritten) {
    TTools& tools = create();
    EXPECT_THROW(tools.ReduceJpgSize(dataFile("photo48x32.jpg"), temp("no/such/folder/out.jpg"), 10, 10),
                 desk::PictureError);
    // An existing file that cannot be replaced keeps its contents.
    ASSERT_TRUE(QDir(m_out.path()).mkdir(QStringLiteral("taken.jpg")));
    EXPECT_THROW(tools.ReduceJpgSize(dataFile("photo48x32.jpg"), temp("taken.jpg"), 10, 10), desk::PictureError);
    EXPECT_TRUE(QFileInfo(temp("taken.jpg")).isDir());
}

}  // namespace
