#include "consoledialogs.h"

#include <cstdio>

namespace {

void print(const QString& text) { std::fprintf(stderr, "bvtransfer: %s\n", text.toUtf8().constData()); }

}  // namespace

void ConsoleDialogs::showMsg(const QString& text) {
    print(text);
    RecordingDialogs::showMsg(text);
}

int ConsoleDialogs::askYesNo(const QString& text) {
    print(text);
    return RecordingDialogs::askYesNo(text);
}

int ConsoleDialogs::askYesNoAll(const QString& text) {
    print(text);
    return RecordingDialogs::askYesNoAll(text);
}

int ConsoleDialogs::chartOrFr3(const QString& text) {
    print(text);
    return RecordingDialogs::chartOrFr3(text);
}

void ConsoleDialogs::showError(const QString& text) {
    print(text);
    RecordingDialogs::showError(text);
}

void ConsoleDialogs::plainMessage(const QString& text) {
    print(text);
    RecordingDialogs::plainMessage(text);
}
