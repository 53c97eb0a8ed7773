#include "jpegcodec.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <csetjmp>
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace desk {

// The error manager of both directions: libjpeg's fields first, then the jump target
// that replaces the library's exit().
struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

namespace {

[[noreturn]] void errorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

// The warnings of damaged picture data (a cut file, a broken entropy segment): the
// decoder would invent grey parts and carry on. Such a picture is refused like any other
// damaged one. Other warnings (an unknown header revision, stray bytes between markers)
// lose nothing and pass.
bool losesPictureData(int code) {
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        return true;
    default:
        return false;
    }
}

void emitMessage(j_common_ptr cinfo, int msgLevel) {
    if (msgLevel < 0 && losesPictureData(cinfo->err->msg_code))
        errorExit(cinfo);
}

void outputMessage(j_common_ptr) {}

void installErrorManager(JpegErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = errorExit;
    err.pub.emit_message = emitMessage;
    err.pub.output_message = outputMessage;
}

// Runs one step of libjpeg calls. The jump target lives in this frame alone and the steps
// hold no C++ objects, so a jump never skips a destructor. False: the codec failed.
bool guarded(JpegErrorManager& err, void (*step)(void*), void* context) {
    if (setjmp(err.jump))
        return false;
    step(context);
    return true;
}

PictureError codecError(const JpegErrorManager& err) {
    return PictureError(QStringLiteral("JPEG error #%1").arg(err.pub.msg_code));
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

// A file source with a large buffer. The decoder takes its fast Huffman path only while
// a few kilobytes of data lie ahead in the buffer; with the 4 KiB of the stdio source it
// spends most of a big picture on the slow path.
struct FileSource {
    static constexpr std::size_t kBufferSize = std::size_t(256) << 10;

    jpeg_source_mgr pub{};
    FILE* file = nullptr;
    std::unique_ptr<JOCTET[]> buffer;
    bool startOfFile = true;
};

void initSource(j_decompress_ptr cinfo) { reinterpret_cast<FileSource*>(cinfo->src)->startOfFile = true; }

boolean fillInputBuffer(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<FileSource*>(cinfo->src);
    std::size_t got = std::fread(src->buffer.get(), 1, FileSource::kBufferSize, src->file);
    if (got == 0) {
        if (src->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);  // refused by emitMessage: the file was cut
        src->buffer[0] = 0xFF;         // an end marker, as the stdio source inserts
        src->buffer[1] = JPEG_EOI;
        got = 2;
    }
    src->pub.next_input_byte = src->buffer.get();
    src->pub.bytes_in_buffer = got;
    src->startOfFile = false;
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count) {
    auto* src = reinterpret_cast<FileSource*>(cinfo->src);
    while (count > long(src->pub.bytes_in_buffer)) {
        count -= long(src->pub.bytes_in_buffer);
        fillInputBuffer(cinfo);
    }
    if (count > 0) {
        src->pub.next_input_byte += count;
        src->pub.bytes_in_buffer -= std::size_t(count);
    }
}

void termSource(j_decompress_ptr) {}

}  // namespace

struct JpegReader::Impl {
    jpeg_decompress_struct cinfo{};
    std::unique_ptr<FILE, FileCloser> file;  // released after the codec object
    FileSource source;
    bool started = false;
    std::uint8_t* row = nullptr;
    std::vector<std::uint8_t> scratch;
    JDIMENSION skipCount = 0;
    int coverWidth = 0, coverHeight = 0;
    const QByteArray* memory = nullptr;
};

JpegReader::JpegReader() : m_err(std::make_unique<JpegErrorManager>()), m_d(std::make_unique<Impl>()) {
    installErrorManager(*m_err);
    m_d->cinfo.err = &m_err->pub;
    // Creating only allocates; out of memory there is the one failure, and it jumps.
    if (!guarded(
            *m_err, [](void* c) { jpeg_create_decompress(static_cast<j_decompress_ptr>(c)); }, &m_d->cinfo)) {
        jpeg_destroy_decompress(&m_d->cinfo);
        throw codecError(*m_err);
    }
}

JpegReader::~JpegReader() {
    jpeg_destroy_decompress(&m_d->cinfo);
    m_d->file.reset();
}

void JpegReader::openFile(const QString& fileName) {
    FILE* f = std::fopen(QFile::encodeName(fileName).constData(), "rbe");
    if (!f)
        throw PictureError(openFailedMessage(fileName, errno));
    m_d->file.reset(f);
    FileSource& src = m_d->source;
    src.file = f;
    src.buffer.reset(new JOCTET[FileSource::kBufferSize]);
    src.pub.init_source = initSource;
    src.pub.fill_input_buffer = fillInputBuffer;
    src.pub.skip_input_data = skipInputData;
    src.pub.resync_to_restart = jpeg_resync_to_restart;
    src.pub.term_source = termSource;
    src.pub.bytes_in_buffer = 0;
    src.pub.next_input_byte = nullptr;
    m_d->cinfo.src = &src.pub;
}

void JpegReader::setMemory(const QByteArray& data) {
    m_d->memory = &data;
    const auto step = [](void* c) {
        auto* d = static_cast<Impl*>(c);
        jpeg_mem_src(&d->cinfo, reinterpret_cast<const unsigned char*>(d->memory->constData()),
                     static_cast<unsigned long>(d->memory->size()));  // refuses empty data
    };
    if (!guarded(*m_err, step, m_d.get()))
        throw codecError(*m_err);
}

void JpegReader::start(int coverWidth, int coverHeight) {
    m_d->coverWidth = coverWidth;
    m_d->coverHeight = coverHeight;
    const auto step = [](void* c) {
        auto* d = static_cast<Impl*>(c);
        j_decompress_ptr cinfo = &d->cinfo;
        jpeg_read_header(cinfo, TRUE);
        cinfo->scale_num = 1;
        cinfo->scale_denom = 1;
        // The smallest of an eighth, a quarter and a half that still covers the size
        // asked for; these are the scaled transforms the codec has vector code for.
        if (d->coverWidth > 0 && d->coverHeight > 0)
            for (unsigned denom : {8u, 4u, 2u})
                if ((cinfo->image_width + denom - 1) / denom >= unsigned(d->coverWidth) &&
                    (cinfo->image_height + denom - 1) / denom >= unsigned(d->coverHeight)) {
                    cinfo->scale_denom = denom;
                    break;
                }
        cinfo->dct_method = JDCT_ISLOW;
        cinfo->do_fancy_upsampling = TRUE;
        cinfo->do_block_smoothing = TRUE;
        cinfo->out_color_space = JCS_EXT_BGR;
        cinfo->quantize_colors = FALSE;
        jpeg_start_decompress(cinfo);
    };
    if (!guarded(*m_err, step, m_d.get()))
        throw codecError(*m_err);
    if (std::uint64_t(m_d->cinfo.output_width) * m_d->cinfo.output_height * 3 > Bitmap::kMaxBytes)
        throw PictureError(QStringLiteral("Not enough memory for a picture of %1 x %2 pixels")
                               .arg(m_d->cinfo.output_width)
                               .arg(m_d->cinfo.output_height));
    m_d->started = true;
}

int JpegReader::width() const { return int(m_d->cinfo.output_width); }
int JpegReader::height() const { return int(m_d->cinfo.output_height); }
int JpegReader::nextRow() const { return int(m_d->cinfo.output_scanline); }

void JpegReader::readRow(std::uint8_t* out) {
    m_d->row = out;
    const auto step = [](void* c) {
        auto* d = static_cast<Impl*>(c);
        JSAMPROW rows[1] = {d->row};
        while (jpeg_read_scanlines(&d->cinfo, rows, 1) == 0) {
            // A suspending source only; stdio and memory sources never suspend.
        }
    };
    if (!m_d->started || m_d->cinfo.output_scanline >= m_d->cinfo.output_height)
        throw PictureError(QStringLiteral("JPEG error #%1").arg(int(JERR_TOO_LITTLE_DATA)));
    if (!guarded(*m_err, step, m_d.get()))
        throw codecError(*m_err);
}

void JpegReader::skipRows(int count) {
    // The codec skips rows without converting their colours; it would skip the end of the
    // picture without decoding it, so the last row is read in full.
    const int skipped = std::min(count, height() - nextRow() - 1);
    if (skipped > 0) {
        m_d->skipCount = JDIMENSION(skipped);
        const auto step = [](void* c) {
            auto* d = static_cast<Impl*>(c);
            jpeg_skip_scanlines(&d->cinfo, d->skipCount);
        };
        if (!m_d->started)
            throw PictureError(QStringLiteral("JPEG error #%1").arg(int(JERR_TOO_LITTLE_DATA)));
        if (!guarded(*m_err, step, m_d.get()))
            throw codecError(*m_err);
    }
    m_d->scratch.resize(std::size_t(width()) * 3);
    for (int i = std::max(skipped, 0); i < count; ++i)
        readRow(m_d->scratch.data());
}

namespace {

Bitmap decodeAll(JpegReader& reader) {
    reader.start();
    Bitmap bitmap(reader.width(), reader.height());
    for (int y = 0; y < bitmap.height(); ++y)
        reader.readRow(bitmap.scanLine(y));
    return bitmap;
}

}  // namespace

Bitmap decodeJpeg(const QByteArray& data) {
    JpegReader reader;
    reader.setMemory(data);
    return decodeAll(reader);
}

Bitmap readJpegFile(const QString& fileName) {
    JpegReader reader;
    reader.openFile(fileName);
    return decodeAll(reader);
}

namespace {

struct Encoding {
    jpeg_compress_struct cinfo{};
    const Bitmap* bitmap = nullptr;
    int quality = 0;
    unsigned char* out = nullptr;  // allocated by the codec's memory destination
    unsigned long outSize = 0;
};

void encodeStep(void* c) {
    auto* e = static_cast<Encoding*>(c);
    jpeg_compress_struct* cinfo = &e->cinfo;
    jpeg_mem_dest(cinfo, &e->out, &e->outSize);
    cinfo->image_width = JDIMENSION(e->bitmap->width());
    cinfo->image_height = JDIMENSION(e->bitmap->height());
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(cinfo);  // baseline, Huffman tables of the standard
    jpeg_set_quality(cinfo, e->quality, TRUE);
    cinfo->dct_method = JDCT_ISLOW;
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row[1] = {const_cast<JSAMPLE*>(e->bitmap->scanLine(int(cinfo->next_scanline)))};
        jpeg_write_scanlines(cinfo, row, 1);
    }
    jpeg_finish_compress(cinfo);
}

}  // namespace

QByteArray encodeJpeg(const Bitmap& bitmap, int quality) {
    JpegErrorManager err;
    installErrorManager(err);
    Encoding e;
    e.bitmap = &bitmap;
    e.quality = quality < 1 ? 1 : quality > 100 ? 100
                                                : quality;
    e.cinfo.err = &err.pub;
    bool ok = guarded(
        err, [](void* c) { jpeg_create_compress(&static_cast<Encoding*>(c)->cinfo); }, &e);
    ok = ok && guarded(err, encodeStep, &e);
    jpeg_destroy_compress(&e.cinfo);
    QByteArray result;
    if (ok)
        result = QByteArray(reinterpret_cast<const char*>(e.out), qsizetype(e.outSize));
    std::free(e.out);
    if (!ok)
        throw codecError(err);
    return result;
}

}  // namespace desk
