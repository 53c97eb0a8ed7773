#include "dbservices/scriptrunner.h"

#include "platform/blanktext.h"
#include "platform/ansicodec.h"

#include <QStringEncoder>

namespace scriptrunner {

namespace {

const QByteArray kUtf8Mark("\xEF\xBB\xBF", 3);
const QByteArray kUtf16LeMark("\xFF\xFE", 2);
const QByteArray kUtf16BeMark("\xFE\xFF", 2);

}  // namespace

bool isCommentLine(const QString& line) {
    return line.startsWith(QLatin1String("//")) || line.startsWith(QLatin1String("--"));
}

bool isBatchSeparator(const QString& line) {
    return blanktext::trimmed(line).compare(QLatin1String("GO"), Qt::CaseInsensitive) == 0;
}

QStringList withoutEmptyAndComments(const QStringList& lines) {
    QStringList kept;
    kept.reserve(lines.size());
    for (const QString& line : lines) {
        if (!line.isEmpty() && !isCommentLine(line))
            kept.append(line);
    }
    return kept;
}

bool Batch::isEmpty() const {
    for (const QString& line : lines) {
        if (!blanktext::isBlank(line))
            return false;
    }
    return true;
}

std::vector<Batch> splitBatches(const QStringList& lines) {
    std::vector<Batch> batches;
    qsizetype i = 0;
    const qsizetype n = lines.size();
    while (i < n) {
        Batch batch;
        batch.number = static_cast<int>(batches.size()) + 1;
        while (i < n && !isBatchSeparator(lines[i]))
            batch.lines.append(lines[i++]);
        batches.push_back(std::move(batch));
        ++i;  // the separator that closed the batch
    }
    return batches;
}

QByteArray byteOrderMark(const QByteArray& head) {
    for (const QByteArray* mark : {&kUtf8Mark, &kUtf16LeMark, &kUtf16BeMark}) {
        if (head.startsWith(*mark))
            return *mark;
    }
    return {};
}

QByteArray encodeLines(const QByteArray& mark, const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    if (mark.isEmpty())
        return plat::toAnsi(text);
    QStringEncoder::Encoding encoding = QStringEncoder::Utf8;
    if (mark == kUtf16LeMark)
        encoding = QStringEncoder::Utf16LE;
    else if (mark == kUtf16BeMark)
        encoding = QStringEncoder::Utf16BE;
    QStringEncoder encoder(encoding);
    return mark + QByteArray(encoder(text));
}

}  // namespace scriptrunner
