#pragma once
// The breeding-value transfer: the centre's text file into BV through the staging table.
#include <QString>

class TTools;

// Runs the four statements with dir (trailing separator) and fileName as the main
// window's labels hold them, and tells the user the outcome through ShowMsg.
void TransferBreedingValues(TTools& tools, const QString& dir, const QString& fileName);
