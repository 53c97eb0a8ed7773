// The program's file version (the window's "7.1.09"), read back by GetVersion.
#include "platform/fileversion.h"

BVT_FILE_VERSION_RESOURCE(7, 1, 9, 0);
