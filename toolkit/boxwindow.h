#pragma once
// The please-wait box: a warning-kind message window without buttons, shown without
// waiting while work goes on. Its kind, chosen when it is created, fixes its height,
// colour, caption and title-bar buttons; the padded please-wait text it starts with
// fixes its width. Its close box hides it; only its owner destroys it.
#include "toolkit/userdialogs.h"

#include <QColor>
#include <QWidget>

class QLabel;

class TBoxWindow : public QWidget {
    Q_OBJECT
public:
    TBoxWindow(BoxKind kind, unsigned color, QWidget* parent = nullptr);

    // The please-wait text a box of this kind starts with.
    static QString initialText(BoxKind kind);
    // Height of the window, frame included.
    static int outerHeight(BoxKind kind);
    // Background: a 0x00BBGGRR colour for BoxKind::Color, the kind's own otherwise.
    static QColor background(BoxKind kind, unsigned color);

    BoxKind kind() const { return m_kind; }
    // Shows the window centred on the screen without waiting, and fits the height to
    // the frame the platform gave it.
    void showCentred();
    // Replaces the message text; the label keeps its layout.
    void setMessage(const QString& text);
    QString message() const;
    // Stops the label from growing with its text: it keeps the room beside the icon
    // up to the window's right edge and wraps its text there.
    void wrapToRightEdge();
    bool wrapped() const { return m_wrapped; }
    QLabel* messageLabel() const { return m_label; }
    QLabel* iconLabel() const { return m_icon; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeLabel();

    BoxKind m_kind;
    QLabel* m_icon = nullptr;
    QLabel* m_label = nullptr;
    bool m_wrapped = false;
    int m_margin = 0;
    int m_spacing = 0;
};
