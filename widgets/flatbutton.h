#pragma once
// Flat button of the widget set: no raised frame, a thin border that lights up under
// the mouse, and a disabled look that greys the caption.
#include <QPushButton>

class FlatButton : public QPushButton {
    Q_OBJECT
public:
    explicit FlatButton(const QString& caption = {}, QWidget* parent = nullptr);
};
