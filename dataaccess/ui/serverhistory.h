#pragma once
// The servers the connect dialog offers: every server name (SQL Server names and "file:"
// folders) that the user connected with before, most recent first, kept in a small
// UTF-8 text file, one name a line.
#include <QString>
#include <QStringList>

namespace da {

class ServerHistory {
public:
    static constexpr int maxEntries = 20;

    explicit ServerHistory(QString path = defaultPath());
    // "servers.txt" in the user's configuration folder of this program.
    static QString defaultPath();

    const QString& path() const { return m_path; }
    // The remembered names; empty when the file is missing or unreadable.
    QStringList servers() const;
    // Moves (or adds) the name to the front and saves. The list is a convenience: a file
    // that cannot be written is passed over silently.
    void remember(const QString& server);

private:
    QString m_path;
};

}  // namespace da
