#pragma once
// What the run-time dialogs share as windows: a fixed dialog frame centred on the
// screen, and the modal loop that honours the program-wide request to end.
class QDialog;
class QWidget;

// A title with a close box, no resizing, right-to-left reading.
void makeFixedDialog(QDialog& dialog);

// Moves a top-level window so that its client area is centred on its screen.
void centreOnScreen(QWidget& window);

// Shows the dialog modally and answers QDialog::Accepted or QDialog::Rejected. A dialog
// opened after the end of the program was asked for answers Rejected without showing;
// one that is open when the request comes closes with Rejected.
int runModal(QDialog& dialog);
