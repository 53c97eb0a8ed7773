#include "filechooser.h"

#include "platform/appexit.h"

#include <QDir>
#include <QFileDialog>

QtFileChooser::QtFileChooser()
    : m_title(QStringLiteral("لطفا فايل ورودي را انتخاب كنيد")),
      // One entry: text files.
      m_filter(QStringLiteral("فايل متني (*.txt)")) {}

bool QtFileChooser::execute(QWidget* parent) {
    if (plat::endRequested())
        return false;
    QFileDialog dialog(parent, m_title, QString(), m_filter);
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!m_fileName.isEmpty())
        dialog.selectFile(m_fileName);
    const auto connection =
        QObject::connect(&plat::AppExit::instance(), &plat::AppExit::endRequested, &dialog, &QDialog::reject);
    const int result = dialog.exec();
    QObject::disconnect(connection);
    if (result != QDialog::Accepted || plat::endRequested() || dialog.selectedFiles().isEmpty())
        return false;
    m_fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return true;
}

bool ScriptedFileChooser::execute(QWidget*) {
    ++m_executions;
    if (m_answers.empty())
        return false;
    const std::optional<QString> answer = m_answers.front();
    m_answers.pop_front();
    if (!answer)
        return false;
    m_fileName = *answer;
    return true;
}
