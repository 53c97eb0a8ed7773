#include "discoveryhooks.h"

#include <cstdlib>

namespace conn {
namespace {

void exitAtOnce(int status) { std::exit(status); }

ExitProcess g_exitProcess = &exitAtOnce;
CustomerChooser g_chooser;

}  // namespace

void setExitProcess(ExitProcess exitProcess) { g_exitProcess = exitProcess ? exitProcess : &exitAtOnce; }

void exitProcess(int status) { g_exitProcess(status); }

void setCustomerChooser(CustomerChooser chooser) { g_chooser = std::move(chooser); }

const CustomerChooser& customerChooser() { return g_chooser; }

}  // namespace conn
