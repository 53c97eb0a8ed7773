#pragma once
#include "userdialogs.h"

#include <memory>

class TTools;

// The Qt implementation of the dialog seam (real modal dialogs and the box window).
std::unique_ptr<UserDialogs> makeQtDialogs(TTools* tools);
