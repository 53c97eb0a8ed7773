#pragma once
// Builds a farm database on a server through the data-access layer, as a farm's main
// program would have left it: Main with its animals and BV in the old 13-column layout
// (or already upgraded).
#include <QString>

namespace bvdata {

struct FarmRecipe {
    QString server;                      // "file:DIR" for the embedded engine
    QString database = QStringLiteral("Farm");
    QString user = QStringLiteral("sa");
    QString password;
    long long animals = 300;
    bool upgradedBv = false;             // BV with the eleven newer columns already
    bool createDatabase = true;
};

// Creates the database (unless told not to), Main filled with animals 1..animals
// (Sabt = registrationNumber(serial)) and an empty BV. Throws da::SqlError.
void createFarm(const FarmRecipe& recipe);

// BV's old 13 columns, as CREATE TABLE lists them.
QString oldBvColumns();

}  // namespace bvdata
