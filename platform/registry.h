#pragma once
// The registry of this platform: the roots HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and
// HKEY_CLASSES_ROOT kept in hive files of the format a Wine prefix uses (see
// registryhive.h), so that a prefix pointed at the same files reads the same keys:
//
//   <folder>/user.reg     HKEY_CURRENT_USER
//   <folder>/system.reg   HKEY_LOCAL_MACHINE; HKEY_CLASSES_ROOT is its key
//                         "Software\Classes", as Windows keeps it
//
// <folder> is $BVT_REGISTRY_DIR when set (tests), otherwise "registry" in the user's
// configuration folder of this program. It is read on every open, so a test may point
// it elsewhere at any time.
//
// Usage:
//
//     using namespace plat::reg;
//     Key key = Key::create(Root::CurrentUser, "Software\\Farm\\Window", Access::All);
//     if (key) {
//         key.writeString("Caption", "...");          // REG_SZ
//         key.writeDWord("Left", 40);                  // REG_DWORD
//         std::optional<QString> s = key.readString("Caption");
//         for (const QString& name : key.subKeyNames()) ...
//     }
//     deleteTree(Root::CurrentUser, "Software\\Farm");
//
// Paths are key names separated by backslashes below the root; the empty path is the
// root itself; one trailing backslash is allowed, an empty name elsewhere (a leading
// backslash, "A\\\\B") is refused. Names compare without regard to case and keep the
// case they were created with. Subkeys and values enumerate sorted by name without
// regard to case; the default value has the empty name and comes first.
//
// Every change is one step under an exclusive lock of the hive: the file is read again,
// the change is applied to what it holds now, and the file is replaced atomically
// (temporary file in the same folder, then a rename). Two processes writing one hive
// therefore never lose each other's keys, and a process killed during a save leaves the
// old file or the new one. A handle keeps no copy of the key: every call sees the file
// as it is, and a key deleted by another process makes the handle's calls fail.
//
// A hive file that carries no write permission at all (chmod a-w) is read-only: opening
// a key of it with write or full access is refused (Status::AccessDenied), also for the
// superuser. A file that is not a hive is never overwritten: opens fail with
// Status::Corrupt.
#include "platform/registryhive.h"

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>
#include <optional>
#include <stdexcept>

namespace plat::reg {

enum class Root {
    CurrentUser,
    LocalMachine,
    ClassesRoot
};

// KEY_READ, KEY_WRITE, KEY_ALL_ACCESS. Reading calls need Read or All (with Write they
// answer nothing); writing calls need Write or All.
enum class Access {
    Read,
    Write,
    All
};

enum class Status {
    Ok,
    NotFound,      // the key (or a key on its path) does not exist
    AccessDenied,  // write access to a read-only hive; deleting a root
    InvalidName,   // an empty or over-long (more than 255 characters) key name
    Corrupt,       // the hive file is not a hive
    Failed,        // the hive could not be saved (the system's reason in errorText())
};

// The registry's errors reaching callers: "Invalid data type for '%s'" and
// "Failed to set data for '%s'" with the value name.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The folder of the hives, as described above.
QString registryFolder();
// The file of the root's hive in that folder.
QString hiveFile(Root root);

class Key {
public:
    Key() = default;  // a closed key

    // Opens an existing key.
    static Key open(Root root, const QString& path, Access access);
    // Opens a key, creating it and every missing key on its path.
    static Key create(Root root, const QString& path, Access access);
    Key openSubKey(const QString& path, Access access) const;
    Key createSubKey(const QString& path, Access access) const;

    bool isOpen() const { return m_status == Status::Ok; }
    explicit operator bool() const { return isOpen(); }
    Status status() const { return m_status; }
    QString errorText() const { return m_error; }
    void close() { *this = Key(); }
    Root root() const { return m_root; }
    Access access() const { return m_access; }
    // The names of the key's path below its root, as the caller spelled them.
    QStringList path() const { return m_path; }

    // False when the key no longer exists (deleted by another handle or process).
    bool exists() const;
    QStringList subKeyNames() const;
    QStringList valueNames() const;
    bool hasValue(const QString& name) const;
    std::optional<Value> value(const QString& name) const;
    // REG_SZ or REG_EXPAND_SZ as stored (nothing expanded); nullopt when missing. Another
    // kind throws "Invalid data type for '%s'".
    std::optional<QString> readString(const QString& name) const;
    // REG_DWORD; nullopt when missing; another kind throws "Invalid data type for '%s'".
    std::optional<quint32> readDWord(const QString& name) const;

    // Set a value, replacing one of that name whatever its kind. A key without write
    // access, a deleted key or a failed save throw "Failed to set data for '%s'".
    void writeString(const QString& name, const QString& text, quint32 type = REG_SZ) const;
    void writeDWord(const QString& name, quint32 number) const;
    void writeValue(const Value& value) const;
    // Answers false when there was no such value or it could not be deleted.
    bool deleteValue(const QString& name) const;
    // Deletes a subkey with everything below it.
    Status deleteSubKey(const QString& path) const;
    // Creates (or adds to) direct subkeys with their values in one save of the hive, for
    // callers that fill many keys at once. Same failures as writeValue.
    void writeSubKeys(const std::vector<std::pair<QString, std::vector<Value>>>& subkeys) const;

private:
    static Key openImpl(Root root, const QStringList& base, const QString& path, Access access, bool create);

    Root m_root = Root::CurrentUser;
    Access m_access = Access::Read;
    Status m_status = Status::NotFound;
    QString m_error;
    QStringList m_path;
};

// Deletes the key at path with everything below it; the root itself cannot be deleted.
Status deleteTree(Root root, const QString& path);

}  // namespace plat::reg
