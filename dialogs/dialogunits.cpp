#include "dialogunits.h"

#include <QFontMetrics>
#include <climits>

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    long long product = static_cast<long long>(number) * numerator;  // |product| <= 2^62
    long long divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    // Division truncates toward zero, so adding half the divisor away from zero rounds.
    const long long q = (product >= 0 ? product + divisor / 2 : product - divisor / 2) / divisor;
    if (q > INT_MAX || q < INT_MIN)
        return -1;
    return static_cast<int>(q);
}

QFont dialogFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(9);
    return font;
}

DialogUnits measureDialogUnits(const QFont& font) {
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(letters) / 52, metrics.height()};
}

QueryGeometry queryGeometry(const DialogUnits& u, int labelHeight, int inputHeight) {
    QueryGeometry g;
    g.clientWidth = u.x(180);
    g.label = QRect(u.x(8), u.y(8), u.x(164), labelHeight);
    g.input = QRect(g.label.left(), g.label.top() + labelHeight + 5, u.x(164), inputHeight);
    const int buttonTop = g.input.top() + inputHeight + 15;
    g.ok = QRect(u.x(38), buttonTop, u.x(50), u.y(14));
    g.cancel = QRect(u.x(92), buttonTop, u.x(50), u.y(14));
    g.clientHeight = g.cancel.top() + g.cancel.height() + 13;
    return g;
}

QString firstUnits(const QString& text, int n) {
    if (text.size() <= n)
        return text;
    if (n > 0 && text.at(n - 1).isHighSurrogate() && text.at(n).isLowSurrogate())
        --n;
    return text.left(n);
}

bool trimsToEmpty(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() > 32)
            return false;
    }
    return true;
}
