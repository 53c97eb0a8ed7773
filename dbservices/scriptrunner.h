#pragma once
// How the script runner reads a script: which lines it drops, which lines separate
// batches, and the numbered batches that result. Pure functions over lines.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace scriptrunner {

// A line whose first two characters are exactly "//" or "--"; blanks in front make it
// an ordinary line.
bool isCommentLine(const QString& line);

// A line that, trimmed of characters of code 32 and below and upper-cased, reads "GO".
// "GO 5", "GOTO" and a GO inside a longer line are statement text.
bool isBatchSeparator(const QString& line);

// The lines without empty lines (length zero) and comment lines, in their order.
QStringList withoutEmptyAndComments(const QStringList& lines);

struct Batch {
    int number = 0;     // from 1 in file order, empty batches counted too
    QStringList lines;  // the statement lines; none for a separator after a separator
    // Nothing but characters of code 32 and below: numbered, neither run nor reported.
    bool isEmpty() const;
};

// The batches of a script whose empty and comment lines are already removed. Lines
// after the last separator form a last batch of their own, which is run like any
// other, so that a script's final statement is not lost when its closing GO is
// missing. A script of no lines has no batch.
std::vector<Batch> splitBatches(const QStringList& lines);

// The byte-order mark a file's first bytes begin with (UTF-8, UTF-16 LE or BE), or
// nothing for a file in the ANSI code page.
QByteArray byteOrderMark(const QByteArray& head);

// Lines each ended by CR LF in the encoding that mark selects, the mark in front (no
// mark: the ANSI code page). The
// working copy of a script that came with a mark is written this way, so that nothing
// it holds turns into '?' in the ANSI code page.
QByteArray encodeLines(const QByteArray& mark, const QStringList& lines);

}  // namespace scriptrunner
