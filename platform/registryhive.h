#pragma once
// One registry hive in memory and its text file in the format a Wine prefix keeps
// (user.reg, system.reg): a version line, header lines, then one block per key
//
//     [Software\\Example\\Sub] 1700000000
//     #time=1da1234abcd5678
//     @="default value"
//     "Name"="text with \"quotes\", \\ and \x62c non-ASCII"
//     "Path"=str(2):"%HOME%\\bin"
//     "Count"=dword:0000002a
//     "Blob"=hex:01,02,ff
//     "Other"=hex(b):01,00,00,00,00,00,00,00
//
// Names compare without regard to case and keep the case they were created with. Subkeys
// and values are kept sorted by name without regard to case (the order Wine keeps and
// enumerates them in); that is the order every enumeration answers.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace plat::reg {

// Value kinds as Windows numbers them; any other number is kept as well.
enum : quint32 {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7,
    REG_QWORD = 11,
};

struct Value {
    QString name;  // empty: the key's default value
    quint32 type = REG_NONE;
    QByteArray data;  // as Windows keeps it: strings in UTF-16 LE with a terminating zero

    static Value string(const QString& name, const QString& text, quint32 type = REG_SZ);
    static Value dword(const QString& name, quint32 number);
    bool isString() const { return type == REG_SZ || type == REG_EXPAND_SZ; }
    // The text of a string kind, without the terminating zero (data up to the first zero).
    QString text() const;
    bool operator==(const Value&) const = default;
};

// Key names compare as the registry compares them.
int compareNames(const QString& a, const QString& b);

struct KeyNode {
    QString name;
    qint64 modified = 0;      // 100 ns ticks since 1601 (the platform's file time)
    QStringList optionLines;  // "#class=..." and other option lines, kept as read
    std::vector<Value> values;
    std::vector<std::unique_ptr<KeyNode>> subkeys;

    KeyNode* child(const QString& childName) const;
    KeyNode* addChild(const QString& childName, qint64 now);  // the existing one when present
    bool removeChild(const QString& childName);
    const Value* value(const QString& valueName) const;
    void setValue(Value v, qint64 now);
    bool removeValue(const QString& valueName, qint64 now);
};

struct Hive {
    KeyNode root;
    // Lines between the version line and the first key (comments, "#arch=..."), as read.
    QStringList headerLines;

    // A new empty hive whose header names the root the file is relative to.
    static Hive empty(const QString& relativeTo);
    // Parses a hive file; nullopt with the line and reason in *error when it is not one.
    static std::optional<Hive> parse(const QByteArray& text, QString* error = nullptr);
    QByteArray serialize() const;

    KeyNode* find(const QStringList& path) const;
};

// The platform's file time now.
qint64 fileTimeNow();

}  // namespace plat::reg
