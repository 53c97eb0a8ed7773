// The toolkit's file, folder and wallpaper operations.
#include "toolkit/tools.h"

#include "desktop/files.h"

void TTools::ChangeWallpaper(const QString& bitmap) { desk::changeWallpaper(bitmap); }

bool TTools::FileCopy(const QString& FName, const QString& ToName) { return desk::fileCopy(FName, ToName); }

bool TTools::DelDir(const QString& dir) { return desk::delDir(dir); }
