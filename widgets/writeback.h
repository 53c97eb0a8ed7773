#pragma once
// The write-back of a data-aware control after the user changed it: a failure is
// reported through the control's writeFailed signal and the user's choice stays shown.
#include "dataaccess/sqlerror.h"

template <class Control>
void writeBackReporting(Control* control) {
    try {
        control->writeBack();
    } catch (const da::SqlError& e) {
        emit control->writeFailed(e.message());
    }
}
