#pragma once
// Texts of the stored SQL command catalogue (table SqlCommands): how an entry's lines are
// stored, the filter that selects one section, and the CREATE PROCEDURE text that
// computes a section's entries into a table.
#include <QString>
#include <QStringList>
#include <vector>

namespace catalogue {

// A new entry keeps at most this many characters of its section and title.
constexpr int kSecLength = 30;
constexpr int kTitrLength = 100;

// The stored text of an entry: every line followed by CR LF.
QString storedText(const QStringList& commands);

// The table's client-side filter for the rows of one section: Sec='...' with inner
// quotes doubled.
QString sectionFilter(const QString& sec);

// One row of a section as the procedure text uses it: the entry's text and its title
// with the blanks at both ends already removed.
struct ProcedureColumn {
    QString sqlCmd;
    QString titr;
};

// The lines of
//   CREATE PROCEDURE [_AutoCompute_SEC] As Begin Select
//   (TEXT)[TITLE],     one per column, the last one ending in "] " instead of "],"
//   Into [_SEC] End
// re-split at line breaks, so that a text of several lines gives several lines. The
// section and titles go in as they are: the catalogue's author chooses them.
QStringList procedureLines(const QString& sec, const std::vector<ProcedureColumn>& columns);

}  // namespace catalogue
