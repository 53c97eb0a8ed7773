#pragma once
// Points fontconfig at the program's own configuration file (fonts.conf beside the
// executable), which maps the faces the windows ask for to installed Arabic-script
// faces. Called before the application object exists; leaves a FONTCONFIG_FILE set by
// the user alone, and does nothing when the file is missing.
void useShippedFontConfig();
