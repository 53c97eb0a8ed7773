#pragma once
// The ANSI code page of a Persian Windows installation (Windows-1256), and the
// platform's text loader: files read "as lines" honour a UTF-8 or UTF-16 byte-order
// mark and otherwise are taken as ANSI.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace plat {

QString fromAnsi(const QByteArray& bytes);
// Characters without a place in the code page become '?', as Windows writes them.
QByteArray toAnsi(const QString& text);

// Decodes a whole file's bytes: BOM selects UTF-8 / UTF-16 LE / UTF-16 BE, else ANSI.
QString decodeText(const QByteArray& bytes);
// Splits decoded text into lines at CR LF, LF or CR; a final line end adds no empty line.
QStringList splitLines(const QString& text);

// Reads a file as lines with the platform's text loader. Throws std::runtime_error
// naming the file when it cannot be opened.
QStringList loadLines(const QString& path);

// Writes lines each ended by CR LF in the ANSI code page, no byte-order mark, replacing
// the file. Throws std::runtime_error naming the file when it cannot be written.
void saveLinesAnsi(const QString& path, const QStringList& lines);
// Writes text as it stands in the ANSI code page, replacing the file.
void saveTextAnsi(const QString& path, const QString& text);

}  // namespace plat
