#include "datamodule.h"

// Placeholder: replaced by the farm database module.
TDM* DM = nullptr;
TDM::TDM(QObject* parent) : QObject(parent) { DM = this; }
TDM::~TDM() {
    if (DM == this)
        DM = nullptr;
}
void TDM::DataModuleCreate(QObject*) {}
