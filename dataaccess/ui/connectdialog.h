#pragma once
// The server connect dialog: user name, masked password, server (remembered servers and
// "file:" folders), database (the server's databases, listed once server and user are
// given), connect (default button: Enter) and cancel (Escape). Right to left, Tahoma.
#include "dataaccess/connection.h"
#include "serverhistory.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace da {

// The texts the caller gives the dialog; the defaults are the program's own.
struct ConnectCaptions {
    QString caption;
    QString user;
    QString password;
    QString server;
    QString database;
    QString connect;
    QString cancel;

    static ConnectCaptions program();
};

class ConnectDialog : public QDialog, public LoginPrompt {
    Q_OBJECT
public:
    // Lists a server's databases; throws SqlError.
    using DatabaseLister = std::function<QStringList(const ConnectParams&)>;

    explicit ConnectDialog(QWidget* parent = nullptr);

    void setCaptions(const ConnectCaptions& captions);
    ConnectCaptions captions() const;
    // Where the remembered servers are kept (tests point it at a temporary folder).
    void setHistoryFile(const QString& path);
    QString historyFile() const { return m_history.path(); }
    // Replaces the default lister, which opens a session with the backend the server
    // name selects and asks it.
    void setDatabaseLister(DatabaseLister lister) { m_lister = std::move(lister); }

    // Shows the dialog filled with params and, when the user connects, writes the fields
    // back and remembers the server. False when cancelled or when the program is ending.
    bool prompt(ConnectParams& params) override;

    // The fields as they stand, and filling them.
    ConnectParams fields() const;
    void setFields(const ConnectParams& params);
    // Fills the database list when server and user are given and differ from the last
    // listing; a server that cannot be reached leaves the list empty, silently.
    void listDatabases();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void reloadServers();

    QLabel* m_userLabel;
    QLabel* m_passwordLabel;
    QLabel* m_serverLabel;
    QLabel* m_databaseLabel;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QComboBox* m_server;
    QComboBox* m_database;
    QPushButton* m_connect;
    QPushButton* m_cancel;
    ServerHistory m_history;
    DatabaseLister m_lister;
    QString m_listedFor;  // server, user and password of the last listing
    int m_loginTimeout = 15;
};

}  // namespace da
