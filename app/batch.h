#pragma once
// The program's modes without a window (transfer, credentials).
#include <QStringList>
#include <optional>

// Runs a headless mode when the arguments ask for one and answers the process's exit
// status; nullopt when the arguments ask for the window.
std::optional<int> runBatchMode(const QStringList& arguments, const QString& appPath);
