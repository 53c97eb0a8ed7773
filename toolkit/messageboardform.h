#pragma once
// The message board: a tall, always-on-top window that shows a report as rows of
// (key, value), used as a progress log and for reports. Created hidden by the toolkit;
// callers test QWidget::isVisible() before posting an error row.
#include "toolkit/boardrows.h"

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class BouncingProgressStrip;
class FlatButton;
class MessageRowsModel;
class QFrame;
class QKeyEvent;
class QLabel;
class QTableView;
class UserDialogs;

class TMessageBoardForm : public QWidget {
    Q_OBJECT
public:
    // Asks where to save a report: the proposed name in, the chosen name out, nothing
    // when the user cancels.
    using SaveFileAsker = std::function<std::optional<QString>(QWidget* owner, const QString& proposedName)>;

    explicit TMessageBoardForm(QWidget* parent = nullptr);
    ~TMessageBoardForm() override;

    void StartRecording(bool IsFarsi, const QString& Title);
    void PostThisMessage(const QString& Titr, const QString& Value);
    void StopRecording();
    // Opens the file with its associated program; the shell's answer is ignored.
    void ExecuteFile(const QString& FileName);

    int rowCount() const;
    QString rowKey(int row) const;
    QString rowValue(int row) const;
    QString counterText() const;

    // The dialogs the board talks through; nullptr: the toolkit's.
    void setDialogs(UserDialogs* dialogs) { m_dialogs = dialogs; }
    // The save dialog; empty: the file dialog with the report filter.
    void setSaveFileAsker(SaveFileAsker asker) { m_askSaveFile = std::move(asker); }

    // Handlers.
    void dxButton1Click();
    void dxButton2Click();
    void FormKeyPress(QKeyEvent* Key);
    void FormKeyUp(QKeyEvent* Key);
    void FormCloseQuery(QObject* Sender, bool& CanClose);
    void FormShow(QObject* Sender);

    // Controls.
    QTableView* MessageList = nullptr;
    BouncingProgressStrip* PBT = nullptr;
    QFrame* dxContainer1 = nullptr;
    QLabel* Label1 = nullptr;
    FlatButton* dxButton2 = nullptr;
    FlatButton* dxButton1 = nullptr;

    // The grid's colour as created, which closing restores.
    static QColor gridColor() { return QColor(255, 255, 230); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void setGridColor(const QColor& color);
    bool previewKey(QEvent* event);
    UserDialogs& dialogs();
    std::optional<QString> askSaveFile(const QString& proposedName);
    void publishRows();
    void holdStatusPaint(bool hold);

    MessageRowsModel* m_rows = nullptr;
    UserDialogs* m_dialogs = nullptr;
    std::unique_ptr<UserDialogs> m_ownDialogs;
    SaveFileAsker m_askSaveFile;
    // The grid takes new rows at most once per frame; the timer brings in the last ones.
    QElapsedTimer m_sincePublish;
    QTimer m_publishTimer;
    bool m_statusPaintHeld = false;  // the strip and the counter wait for the next frame
};

extern TMessageBoardForm* MessageBoardForm;
