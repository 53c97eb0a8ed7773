#pragma once
// A secret typed on standard input, for command-line options given as "-".
#include <QString>

namespace plat {

// One line from standard input without its line end; on a terminal the prompt goes to
// standard error and the typed text is not echoed.
QString readSecretLine(const char* prompt = "password: ");

}  // namespace plat
