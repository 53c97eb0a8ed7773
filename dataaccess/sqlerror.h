#pragma once
// The one exception type of the data-access layer: every failure (syntax, missing
// object, constraint, lost connection, conversion, refused login) raises it with the
// server's (or the layer's) message text.
#include <QString>
#include <stdexcept>

namespace da {

class SqlError : public std::runtime_error {
public:
    explicit SqlError(const QString& message, int nativeError = 0, const QString& sqlState = {},
                      const QString& statement = {})
        : std::runtime_error(message.toStdString()),
          m_message(message),
          m_nativeError(nativeError),
          m_sqlState(sqlState),
          m_statement(statement) {}

    const QString& message() const { return m_message; }
    int nativeError() const { return m_nativeError; }
    const QString& sqlState() const { return m_sqlState; }
    const QString& statement() const { return m_statement; }

private:
    QString m_message;
    int m_nativeError;
    QString m_sqlState;
    QString m_statement;
};

}  // namespace da
