#pragma once
// The main window's open-file dialog behind a seam: the Qt dialog in the program, a
// scripted one in tests. A chooser keeps the last confirmed file name between uses.
#include <QString>
#include <deque>
#include <memory>
#include <optional>

class QWidget;

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Runs the dialog; true when the user confirmed a file, which fileName() then holds.
    // A cancel leaves fileName() as it was.
    virtual bool execute(QWidget* parent) = 0;
    virtual QString fileName() const = 0;
};

// The open-file dialog: Persian title, one filter for text files. It opens on the file
// chosen last; a request to end the program closes it with a cancel.
class QtFileChooser : public FileChooser {
public:
    QtFileChooser();
    bool execute(QWidget* parent) override;
    QString fileName() const override { return m_fileName; }

    QString title() const { return m_title; }
    QString filter() const { return m_filter; }

private:
    QString m_title;
    QString m_filter;
    QString m_fileName;
};

// Tests: answers from a script, in order; an empty script answers a cancel.
class ScriptedFileChooser : public FileChooser {
public:
    // nullopt: the user cancels.
    void scriptAnswer(std::optional<QString> answer) { m_answers.push_back(std::move(answer)); }
    bool execute(QWidget* parent) override;
    QString fileName() const override { return m_fileName; }
    int executions() const { return m_executions; }

private:
    std::deque<std::optional<QString>> m_answers;
    QString m_fileName;
    int m_executions = 0;
};
