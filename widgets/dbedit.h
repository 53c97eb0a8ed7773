#pragma once
// The data-aware edit box of forms: the data layer's bound edit under the class name
// that form definition files use.
#include "dataaccess/ui/dbedit.h"

class TDBEdit : public da::DBEdit {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr) : da::DBEdit(parent) {}
};
