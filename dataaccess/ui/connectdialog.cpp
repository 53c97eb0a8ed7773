#include "connectdialog.h"

#include "dataaccess/sqlerror.h"
#include "platform/appexit.h"
#include "platform/framedplacement.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace da {

ConnectCaptions ConnectCaptions::program() {
    return {QStringLiteral("اتصال به بانك اصلي"),
            QStringLiteral("نام كاربر"),
            QStringLiteral("رمز عبور"),
            QStringLiteral("سرور"),
            QStringLiteral("Database"),
            QStringLiteral("اتصال"),
            QStringLiteral("انصراف")};
}

namespace {

QStringList listWithBackend(const ConnectParams& params) {
    return backend::openSession(params)->databases();
}

QComboBox* makeCombo(const QString& name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    // Enter in the field connects; it never adds the typed text to the list.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(220);
    return combo;
}

}  // namespace

ConnectDialog::ConnectDialog(QWidget* parent)
    : QDialog(parent), m_history(ServerHistory::defaultPath()), m_lister(listWithBackend) {
    setObjectName(QStringLiteral("ConnectDialog"));
    setLayoutDirection(Qt::RightToLeft);
    QFont f = font();
    f.setFamily(QStringLiteral("Tahoma"));
    setFont(f);

    m_user = new QLineEdit(this);
    m_user->setObjectName(QStringLiteral("UserEdit"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("PasswordEdit"));
    m_password->setEchoMode(QLineEdit::Password);
    m_server = makeCombo(QStringLiteral("ServerCombo"), this);
    m_database = makeCombo(QStringLiteral("DatabaseCombo"), this);
    m_database->installEventFilter(this);
    m_database->lineEdit()->installEventFilter(this);

    m_userLabel = new QLabel(this);
    m_passwordLabel = new QLabel(this);
    m_serverLabel = new QLabel(this);
    m_databaseLabel = new QLabel(this);
    m_userLabel->setObjectName(QStringLiteral("UserLabel"));
    m_passwordLabel->setObjectName(QStringLiteral("PasswordLabel"));
    m_serverLabel->setObjectName(QStringLiteral("ServerLabel"));
    m_databaseLabel->setObjectName(QStringLiteral("DatabaseLabel"));
    m_userLabel->setBuddy(m_user);
    m_passwordLabel->setBuddy(m_password);
    m_serverLabel->setBuddy(m_server);
    m_databaseLabel->setBuddy(m_database);

    auto* form = new QFormLayout;
    form->addRow(m_userLabel, m_user);
    form->addRow(m_passwordLabel, m_password);
    form->addRow(m_serverLabel, m_server);
    form->addRow(m_databaseLabel, m_database);

    m_connect = new QPushButton(this);
    m_connect->setObjectName(QStringLiteral("ConnectButton"));
    m_connect->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_connect);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setTabOrder(m_user, m_password);
    setTabOrder(m_password, m_server);
    setTabOrder(m_server, m_database);
    setTabOrder(m_database, m_connect);
    setTabOrder(m_connect, m_cancel);

    connect(m_connect, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    // A request to end the program closes the dialog with the cancel result.
    connect(&plat::AppExit::instance(), &plat::AppExit::endRequested, this, &QDialog::reject);

    setCaptions(ConnectCaptions::program());
    reloadServers();
}

void ConnectDialog::setCaptions(const ConnectCaptions& c) {
    setWindowTitle(c.caption);
    m_userLabel->setText(c.user);
    m_passwordLabel->setText(c.password);
    m_serverLabel->setText(c.server);
    m_databaseLabel->setText(c.database);
    m_connect->setText(c.connect);
    m_cancel->setText(c.cancel);
}

ConnectCaptions ConnectDialog::captions() const {
    return {windowTitle(), m_userLabel->text(), m_passwordLabel->text(), m_serverLabel->text(),
            m_databaseLabel->text(), m_connect->text(), m_cancel->text()};
}

void ConnectDialog::setHistoryFile(const QString& path) {
    m_history = ServerHistory(path);
    reloadServers();
}

void ConnectDialog::reloadServers() {
    const QString typed = m_server->currentText();
    m_server->clear();
    m_server->addItems(m_history.servers());
    m_server->setEditText(typed);
}

ConnectParams ConnectDialog::fields() const {
    ConnectParams p;
    p.user = m_user->text().trimmed();
    p.password = m_password->text();
    p.server = m_server->currentText().trimmed();
    p.database = m_database->currentText().trimmed();
    p.loginTimeoutSeconds = m_loginTimeout;
    return p;
}

void ConnectDialog::setFields(const ConnectParams& p) {
    m_user->setText(p.user);
    m_password->setText(p.password);
    reloadServers();
    m_server->setEditText(p.server);
    m_database->setEditText(p.database);
    m_loginTimeout = p.loginTimeoutSeconds;
}

void ConnectDialog::listDatabases() {
    ConnectParams p = fields();
    // An empty password is a password; the embedded engine's folders need no user.
    bool given = !p.server.isEmpty() && (!p.user.isEmpty() || p.server.startsWith(QLatin1String("file:")));
    const QString key = p.server + u'\n' + p.user + u'\n' + p.password;
    if (!given || key == m_listedFor)
        return;
    m_listedFor = key;
    const QString typed = m_database->currentText();
    QStringList names;
    p.database = QStringLiteral("master");
    try {
        names = m_lister(p);
    } catch (const SqlError&) {
        // The list is a help for typing: a server that cannot be reached leaves it empty.
    }
    m_database->clear();
    m_database->addItems(names);
    m_database->setEditText(typed);
}

bool ConnectDialog::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_database || watched == m_database->lineEdit()) &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress))
        listDatabases();
    return QDialog::eventFilter(watched, event);
}

// Centred on the screen, whatever window owns the dialog (the toolkit's is never shown).
void ConnectDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    plat::centreFrameOnScreen(this);
}

bool ConnectDialog::prompt(ConnectParams& params) {
    if (plat::endRequested())
        return false;
    setFields(params);
    m_listedFor.clear();
    m_user->setFocus();
    if (exec() != QDialog::Accepted || plat::endRequested())
        return false;
    ConnectParams chosen = fields();
    params.user = chosen.user;
    params.password = chosen.password;
    params.server = chosen.server;
    params.database = chosen.database;
    m_history.remember(chosen.server);
    reloadServers();
    return true;
}

}  // namespace da
