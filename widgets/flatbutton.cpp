#include "flatbutton.h"

FlatButton::FlatButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setFlat(true);
    // Never the default button of a dialog: the forms that place flat buttons decide
    // themselves what Enter does.
    setAutoDefault(false);
    setStyleSheet(QStringLiteral(
        "FlatButton { border: 1px solid rgb(160, 160, 160); padding: 2px 10px; background: transparent; }"
        "FlatButton:hover { border-color: rgb(0, 120, 215); background: rgb(229, 241, 251); }"
        "FlatButton:pressed { background: rgb(204, 228, 247); }"
        "FlatButton:disabled { color: rgb(160, 160, 160); border-color: rgb(200, 200, 200); }"));
}
