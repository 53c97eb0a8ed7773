#include "profilefile.h"

#include "platform/ansicodec.h"
#include "platform/atomicfile.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <vector>

namespace plat {

namespace {

enum class Encoding {
    Ansi,
    Utf8,
    Utf16
};

bool hasLineBreak(const QString& s) { return s.contains(u'\r') || s.contains(u'\n'); }

bool ansiHolds(const QString& s) { return fromAnsi(toAnsi(s)) == s; }

QString sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return {};
    const qsizetype close = t.indexOf(u']');
    return close < 0 ? QString() : t.mid(1, close - 1).trimmed();
}

bool isSection(const QString& line) { return line.trimmed().startsWith(u'['); }

}  // namespace

bool writePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& fileName) {
    const QString keyName = key.trimmed();
    const QString sectName = section.trimmed();
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value) || sectName.contains(u']') ||
        keyName.contains(u'=') || keyName.isEmpty())
        return false;

    QByteArray bytes;
    QFile file(fileName);
    if (file.exists()) {
        // A file nobody may write stays as it is, even for the superuser.
        constexpr QFile::Permissions kWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if (!(file.permissions() & kWrite) || !file.open(QIODevice::ReadOnly))
            return false;
        bytes = file.readAll();
        file.close();
    }
    Encoding encoding = Encoding::Ansi;
    QString text;
    if (bytes.startsWith("\xFF\xFE")) {
        encoding = Encoding::Utf16;
        text = QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        encoding = Encoding::Utf8;
        text = QString::fromUtf8(bytes.mid(3));
    } else {
        text = fromAnsi(bytes);  // every byte has its character: nothing changes on the way back
    }

    // Lines with their own endings, so that untouched ones are written back unchanged.
    std::vector<QString> lines;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        end = end < 0 ? text.size() : end + 1;
        lines.push_back(text.mid(start, end - start));
        start = end;
    }
    const QString newLine = keyName + u'=' + value + QStringLiteral("\r\n");
    auto body = [](const QString& line) {
        QString b = line;
        while (b.endsWith(u'\n') || b.endsWith(u'\r'))
            b.chop(1);
        return b;
    };

    qsizetype sectionAt = -1;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i)
        if (isSection(lines[i]) && sectionName(lines[i]).compare(sectName, Qt::CaseInsensitive) == 0) {
            sectionAt = i;
            break;
        }
    if (sectionAt < 0) {
        if (!lines.empty() && !lines.back().endsWith(u'\n'))
            lines.back() += QStringLiteral("\r\n");
        lines.push_back(u'[' + sectName + QStringLiteral("]\r\n"));
        lines.push_back(newLine);
    } else {
        qsizetype lastFilled = sectionAt;
        bool replaced = false;
        for (qsizetype i = sectionAt + 1; i < qsizetype(lines.size()) && !isSection(lines[i]); ++i) {
            const QString b = body(lines[i]);
            if (!b.trimmed().isEmpty())
                lastFilled = i;
            if (b.trimmed().startsWith(u';'))
                continue;
            const qsizetype eq = b.indexOf(u'=');
            if (eq >= 0 && b.left(eq).trimmed().compare(keyName, Qt::CaseInsensitive) == 0) {
                const QString ending = lines[i].mid(b.size());
                lines[i] = b.left(eq).trimmed() + u'=' + value + (ending.isEmpty() ? QStringLiteral("\r\n") : ending);
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            if (!lines[lastFilled].endsWith(u'\n'))
                lines[lastFilled] += QStringLiteral("\r\n");
            lines.insert(lines.begin() + lastFilled + 1, newLine);
        }
    }

    QString out;
    for (const QString& line : lines)
        out += line;
    if (encoding == Encoding::Ansi && !ansiHolds(out))
        encoding = Encoding::Utf16;
    QByteArray outBytes;
    switch (encoding) {
    case Encoding::Ansi:
        outBytes = toAnsi(out);
        break;
    case Encoding::Utf8:
        outBytes = "\xEF\xBB\xBF" + out.toUtf8();
        break;
    case Encoding::Utf16:
        outBytes = QByteArray("\xFF\xFE") + QStringEncoder(QStringEncoder::Utf16LE)(out);
        break;
    }
    return writeFileAtomically(fileName, outBytes);
}

}  // namespace plat
