#include "qtdialogs.h"

#include "recordingdialogs.h"

// Placeholder: replaced by the Qt dialogs.
std::unique_ptr<UserDialogs> makeQtDialogs(TTools*) { return std::make_unique<RecordingDialogs>(); }
