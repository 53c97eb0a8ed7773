#include "batch.h"

// Placeholder: replaced by the headless modes.
std::optional<int> runBatchMode(const QStringList&, const QString&) { return std::nullopt; }
