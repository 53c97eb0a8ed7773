#pragma once
#include "backend.h"

#include <QString>
#include <memory>

namespace da {

// Asked by a connection whose login prompt is on: fills or changes the parameters and
// answers false when the user cancels. The Qt connect dialog implements it; tests
// script it.
class LoginPrompt {
public:
    virtual ~LoginPrompt() = default;
    virtual bool prompt(ConnectParams& params) = 0;
};

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setServer(const QString& v) { m_params.server = v; }
    QString server() const { return m_params.server; }
    void setDatabase(const QString& v) { m_params.database = v; }
    QString database() const { return m_params.database; }
    void setUser(const QString& v) { m_params.user = v; }
    QString user() const { return m_params.user; }
    void setPassword(const QString& v) { m_params.password = v; }
    QString password() const { return m_params.password; }
    void setLoginTimeout(int seconds) { m_params.loginTimeoutSeconds = seconds; }
    int loginTimeout() const { return m_params.loginTimeoutSeconds; }
    void setLoginPrompt(bool on) { m_loginPrompt = on; }
    bool loginPrompt() const { return m_loginPrompt; }
    void setConnectDialog(LoginPrompt* dialog) { m_dialog = dialog; }
    LoginPrompt* connectDialog() const { return m_dialog; }

    // With the login prompt on and a dialog linked, the dialog is shown first. After a
    // connect the properties hold the values in effect. Throws SqlError (a cancelled
    // dialog too).
    void connect();
    void disconnect();
    bool connected() const { return m_session != nullptr; }

    // "Server=...;Database=...;User ID=...;Password=...;" followed by the engine's
    // options, for callers that hand the connection to another library. A value with
    // a ";", a leading quote or blanks at an end stands in double quotes ("" inside).
    QString connectString() const;

    // The open session; throws SqlError when not connected.
    backend::Session& session();

private:
    ConnectParams m_params;
    bool m_loginPrompt = false;
    LoginPrompt* m_dialog = nullptr;
    std::unique_ptr<backend::Session> m_session;
};

}  // namespace da
