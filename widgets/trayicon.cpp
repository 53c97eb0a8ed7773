#include "trayicon.h"

#include <QApplication>
#include <QStyle>
#include <QTimer>

TrayIcon::TrayIcon(QObject* parent) : QSystemTrayIcon(parent) {
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
    setIcon(icon);
}

void TrayIcon::showBalloon(const QString& title, const QString& text, MessageIcon icon, int msecs) {
    m_balloonShown = true;
    m_title = title;
    m_text = text;
    m_icon = icon;
    m_msecs = msecs;
    showMessage(title, text, icon, msecs);
}

void TrayIcon::hideBalloon() {
    if (!m_balloonShown)
        return;
    m_balloonShown = false;
    // Qt has no call to withdraw a balloon; hiding the icon for a moment takes its
    // balloon with it on the platforms that show balloons at the icon.
    if (isVisible()) {
        hide();
        show();
    }
}
