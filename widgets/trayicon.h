#pragma once
// The tray icon of the widget set: a system tray icon that also remembers the balloon
// hint it shows, because the platform gives no way to ask for it or to take it away.
#include <QString>
#include <QSystemTrayIcon>

class TrayIcon : public QSystemTrayIcon {
    Q_OBJECT
public:
    // Without an icon of its own the tray icon takes the application's window icon,
    // or the style's computer icon when the application has none.
    explicit TrayIcon(QObject* parent = nullptr);

    // Shows a balloon hint; msecs is its time-out.
    void showBalloon(const QString& title, const QString& text, MessageIcon icon, int msecs);
    // Takes the balloon hint away (nothing when none is showing).
    void hideBalloon();

    bool balloonShown() const { return m_balloonShown; }
    QString balloonTitle() const { return m_title; }
    QString balloonText() const { return m_text; }
    MessageIcon balloonIcon() const { return m_icon; }
    int balloonTimeout() const { return m_msecs; }

private:
    bool m_balloonShown = false;
    QString m_title;
    QString m_text;
    MessageIcon m_icon = NoIcon;
    int m_msecs = 0;
};
