#pragma once
// The message board: a tall, always-on-top window that shows a report as rows of
// (key, value), used as a progress log and for reports.
#include <QString>
#include <QWidget>

class TMessageBoardForm : public QWidget {
    Q_OBJECT
public:
    explicit TMessageBoardForm(QWidget* parent = nullptr);
    ~TMessageBoardForm() override;

    void StartRecording(bool IsFarsi, const QString& Title);
    void PostThisMessage(const QString& Titr, const QString& Value);
    void StopRecording();
    void ExecuteFile(const QString& FileName);

    int rowCount() const;
    QString rowKey(int row) const;
    QString rowValue(int row) const;
    QString counterText() const;

private:
    struct Impl;
    Impl* d = nullptr;
};

extern TMessageBoardForm* MessageBoardForm;
