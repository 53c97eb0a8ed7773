#pragma once
// The two places where connection discovery leaves the program's ordinary flow, each
// replaceable: ending the process at once (tests observe it instead), and the customer
// choice (the headless mode chooses by name instead of showing the selection window).
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace conn {

// Ends the process at once without a message. The default calls std::exit.
using ExitProcess = void (*)(int status);
void setExitProcess(ExitProcess exitProcess);  // nullptr: the default
void exitProcess(int status);

// Answers the chosen entry's text, or nullopt when the choice was not confirmed.
using CustomerChooser = std::function<std::optional<QString>(const QStringList& names)>;
// An empty chooser: the customer selection window.
void setCustomerChooser(CustomerChooser chooser);
const CustomerChooser& customerChooser();

}  // namespace conn
