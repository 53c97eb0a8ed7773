#pragma once
// Dialog units: the layout measure of the run-time dialogs, taken from the average
// character size of the dialog's face, and the arithmetic that places their controls.
// Pure functions; the dialogs measure their face and hand the figures in.
#include <QFont>
#include <QRect>
#include <QString>
#include <functional>

// number * numerator / denominator in 64 bits, rounded to the nearest integer (halves
// away from zero). -1 for a zero denominator or a result outside int, as the
// platform's own operation answers.
int MulDiv(int number, int numerator, int denominator);

struct DialogUnits {
    int W = 0;  // average character width, pixels
    int H = 0;  // character height, pixels

    int x(int n) const { return MulDiv(n, W, 4); }  // n horizontal units in pixels
    int y(int n) const { return MulDiv(n, H, 8); }  // n vertical units in pixels
};

// The face of the run-time dialogs: Tahoma, 9 points. Qt has no character sets; the
// Arabic letters come from the face the name resolves to (fontconfig alias).
QFont dialogFont();

// The extent of the 52 letters A-Z a-z in the face: W is its width divided by 52
// (integer division), H its height (ascent + descent).
DialogUnits measureDialogUnits(const QFont& font);

// How a dialog learns its units; tests hand in fixed figures.
using UnitsMeasure = std::function<DialogUnits(const QFont&)>;

// Where the controls of a one-value query go, in client coordinates from the left
// edge (right to left changes the reading order of the texts, not the positions).
struct QueryGeometry {
    int clientWidth = 0;
    QRect label;  // the prompt, as wide as its maximum width, as tall as it wraps
    QRect input;
    QRect ok;
    QRect cancel;
    int clientHeight = 0;
};

// labelHeight: the prompt's height when wrapped at label.width(); inputHeight: the
// input control's height. Both in pixels, >= 0.
QueryGeometry queryGeometry(const DialogUnits& u, int labelHeight, int inputHeight);

// The first n UTF-16 units of text, one fewer where the cut would split a surrogate
// pair (a character outside the basic plane is kept whole or dropped whole).
QString firstUnits(const QString& text, int n);

// True when nothing but characters of code 32 or lower remains: the text trims to empty.
bool trimsToEmpty(const QString& text);
