#pragma once
// Starting a program from a Windows command line and waiting for it (CreateProcess and
// WaitForSingleObject). The command line is split into arguments by the rules of the
// Windows C runtime, so a program receives exactly what it would on Windows.
#include <QString>
#include <QStringList>

namespace plat {

// Splits a command line as the C runtime does for argv: blanks and tabs separate
// arguments; a double quote starts or ends a quoted part; 2n backslashes before a quote
// give n backslashes and the quote acts, 2n+1 give n backslashes and a literal quote;
// inside a quoted part "" gives one quote; other backslashes stay. The first argument
// (the program) ends at the first blank outside quotes and keeps its backslashes.
QStringList splitCommandLine(const QString& commandLine);

// Starts the command line's program with its other arguments as its argv, in
// workingDir (empty: the current folder), in a session of its own and with no handle
// inherited but standard input, output and error; then waits for it to end, without a
// time limit. A program given without a folder is looked up in the current folder,
// then on PATH. False at once when the program cannot be started.
bool startAndWait(const QString& commandLine, const QString& workingDir);

}  // namespace plat
