#pragma once
// The command line of the headless modes.
#include <QString>
#include <QStringList>
#include <optional>

struct BatchArguments {
    enum class Mode {
        Window,
        Transfer,
        WriteCredentials
    };
    Mode mode = Mode::Window;
    QString transferFile;
    bool dryRun = false;
    QString customer;
    QString server, database, user, password;
    bool passwordGiven = false;  // an empty password is a password
    QString group;               // --group: the group that may read the credentials file too
    // Set when the arguments cannot be used; the text says why.
    QString error;
};

// Parses the program's arguments (the first, the program itself, is skipped when it is
// not an option). --app-dir, --screenshot and their values belong to start-up and are
// passed over; mode options without their mode are an error.
// Values follow their option as the next argument or after '='.
BatchArguments parseBatchArguments(const QStringList& arguments);

// How to call the program, for an error.
QString batchUsage();
