#include "registry.h"

#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <functional>
#include <map>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat::reg {

namespace {

constexpr int kMaxKeyName = 255;

// Which file a root lives in, and the key that stands for it there.
struct Place {
    QString file;
    QStringList prefix;
    QString relativeTo;  // the header of a new file
};

Place placeOf(Root root) {
    switch (root) {
    case Root::CurrentUser:
        return {hiveFile(root), {}, QStringLiteral("\\User\\S-1-5-21-0-0-0-1000")};
    case Root::LocalMachine:
        return {hiveFile(root), {}, QStringLiteral("\\Machine")};
    case Root::ClassesRoot:
        return {hiveFile(root), {QStringLiteral("Software"), QStringLiteral("Classes")}, QStringLiteral("\\Machine")};
    }
    return {};
}

Status splitPath(const QString& path, QStringList& names) {
    names.clear();
    QString p = path;
    if (p.endsWith(u'\\'))
        p.chop(1);
    if (p.isEmpty())
        return path.isEmpty() ? Status::Ok : Status::InvalidName;
    names = p.split(u'\\');
    for (const QString& name : names)
        if (name.isEmpty() || name.size() > kMaxKeyName)
            return Status::InvalidName;
    return Status::Ok;
}

struct Stamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    qint64 mtimeNs = 0;
    qint64 size = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const QString& file) {
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0)
        return {};
    return {true, st.st_dev, st.st_ino, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, st.st_size};
}

// A hive file with no write permission for anyone is read-only for us, superuser or not.
bool readOnly(const QString& file) {
    struct stat st {};
    return ::stat(QFile::encodeName(file).constData(), &st) == 0 && (st.st_mode & 0222) == 0;
}

// Holds the lock file of one hive locked exclusively while alive.
class HiveLock {
public:
    explicit HiveLock(const QString& file) {
        const QFileInfo info(file);
        const QByteArray lockName = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock"));
        m_fd = ::open(lockName.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0)
            m_fd = ::open(lockName.constData(), O_RDONLY | O_CLOEXEC);
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~HiveLock() {
        if (m_fd >= 0)
            ::close(m_fd);  // releases the lock
    }
    bool locked() const { return m_fd >= 0; }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

private:
    int m_fd = -1;
};

// The hives read so far, each read again when its file changed.
class HiveCache {
public:
    struct Loaded {
        Status status = Status::Ok;
        const Hive* hive = nullptr;
        QString error;
    };

    Loaded load(const Place& place) {
        Entry& e = m_entries[place.file];
        const Stamp now = stampOf(place.file);
        if (!e.valid || !(now == e.stamp)) {
            e.valid = false;
            e.stamp = now;
            if (!now.exists) {
                e.hive = Hive::empty(place.relativeTo);
                e.valid = true;
            } else {
                QFile f(place.file);
                if (!f.open(QIODevice::ReadOnly))
                    return {Status::Failed, nullptr, f.errorString()};
                std::optional<Hive> parsed = Hive::parse(f.readAll(), &e.error);
                if (!parsed)
                    return {Status::Corrupt, nullptr, place.file + QStringLiteral(": ") + e.error};
                e.hive = std::move(*parsed);
                e.valid = true;
            }
        }
        return {Status::Ok, &e.hive, {}};
    }

    // One change under the hive's lock: fn(hive, changed) on what the file holds now;
    // the file is replaced when fn reports a change.
    template <typename Fn>
    Status modify(const Place& place, Fn fn, QString* error) {
        if (readOnly(place.file))
            return Status::AccessDenied;
        const QString folder = QFileInfo(place.file).absolutePath();
        if (!QDir().mkpath(folder)) {
            *error = QStringLiteral("cannot create %1").arg(folder);
            return Status::Failed;
        }
        HiveLock lock(place.file);
        if (!lock.locked()) {
            *error = QStringLiteral("cannot lock %1: %2").arg(place.file, QString::fromLocal8Bit(std::strerror(errno)));
            return Status::Failed;
        }
        // Read the file again whatever its stamp says: an inode may be reused within
        // one tick of the file clock, and a change must start from what is on disk.
        m_entries[place.file].valid = false;
        Loaded loaded = load(place);
        if (loaded.status != Status::Ok) {
            *error = loaded.error;
            return loaded.status;
        }
        Entry& e = m_entries[place.file];
        bool changed = false;
        const Status status = fn(e.hive, changed);
        if (!changed)
            return status;
        if (!writeFileAtomically(place.file, e.hive.serialize(), error)) {
            e.valid = false;  // the change did not reach the file: forget it
            return Status::Failed;
        }
        e.stamp = stampOf(place.file);
        return status;
    }

private:
    struct Entry {
        bool valid = false;
        Stamp stamp;
        Hive hive;
        QString error;
    };
    std::map<QString, Entry> m_entries;
};

HiveCache& cache() {
    static HiveCache c;
    return c;
}

const KeyNode* findNode(Root root, const QStringList& path) {
    const Place place = placeOf(root);
    const HiveCache::Loaded loaded = cache().load(place);
    return loaded.hive ? loaded.hive->find(place.prefix + path) : nullptr;
}

// One change of the key at path, which must still exist; change answers whether it
// changed anything (NotFound when not).
Status changeKey(Root root, const QStringList& path, const std::function<bool(KeyNode&)>& change) {
    const Place place = placeOf(root);
    QString error;
    return cache().modify(
        place,
        [&](Hive& hive, bool& changed) {
            KeyNode* node = hive.find(place.prefix + path);
            changed = node && change(*node);
            return changed ? Status::Ok : Status::NotFound;
        },
        &error);
}

[[noreturn]] void throwError(const char* format, const QString& name) {
    throw RegistryError(QString::fromLatin1(format).arg(name).toStdString());
}

}  // namespace

QString registryFolder() {
    const QString dir = qEnvironmentVariable("BVT_REGISTRY_DIR");
    if (!dir.isEmpty())
        return dir;
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/registry");
}

QString hiveFile(Root root) {
    return registryFolder() + (root == Root::CurrentUser ? QStringLiteral("/user.reg") : QStringLiteral("/system.reg"));
}

Key Key::open(Root root, const QString& path, Access access) { return openImpl(root, {}, path, access, false); }

Key Key::create(Root root, const QString& path, Access access) { return openImpl(root, {}, path, access, true); }

Key Key::openSubKey(const QString& path, Access access) const {
    return isOpen() ? openImpl(m_root, m_path, path, access, false) : Key();
}

Key Key::createSubKey(const QString& path, Access access) const {
    return isOpen() ? openImpl(m_root, m_path, path, access, true) : Key();
}

Key Key::openImpl(Root root, const QStringList& base, const QString& path, Access access, bool create) {
    Key key;
    key.m_root = root;
    key.m_access = access;
    QStringList names;
    key.m_status = splitPath(path, names);
    if (key.m_status != Status::Ok)
        return key;
    key.m_path = base + names;
    const Place place = placeOf(root);
    if (access != Access::Read && readOnly(place.file)) {
        key.m_status = Status::AccessDenied;
        return key;
    }
    const HiveCache::Loaded loaded = cache().load(place);
    if (loaded.status != Status::Ok) {
        key.m_status = loaded.status;
        key.m_error = loaded.error;
        return key;
    }
    const QStringList full = place.prefix + key.m_path;
    if (loaded.hive->find(full)) {
        key.m_status = Status::Ok;
        return key;
    }
    if (!create) {
        key.m_status = Status::NotFound;
        return key;
    }
    key.m_status = cache().modify(
        place,
        [&](Hive& hive, bool& changed) {
            const qint64 now = fileTimeNow();
            KeyNode* node = &hive.root;
            for (const QString& name : full) {
                if (!node->child(name))
                    changed = true;
                node = node->addChild(name, now);
            }
            return Status::Ok;
        },
        &key.m_error);
    return key;
}

bool Key::exists() const { return isOpen() && findNode(m_root, m_path); }

QStringList Key::subKeyNames() const {
    QStringList names;
    if (const KeyNode* node = isOpen() && m_access != Access::Write ? findNode(m_root, m_path) : nullptr)
        for (const auto& child : node->subkeys)
            names.append(child->name);
    return names;
}

QStringList Key::valueNames() const {
    QStringList names;
    if (const KeyNode* node = isOpen() && m_access != Access::Write ? findNode(m_root, m_path) : nullptr)
        for (const Value& v : node->values)
            names.append(v.name);
    return names;
}

std::optional<Value> Key::value(const QString& name) const {
    const KeyNode* node = isOpen() && m_access != Access::Write ? findNode(m_root, m_path) : nullptr;
    const Value* v = node ? node->value(name) : nullptr;
    return v ? std::optional<Value>(*v) : std::nullopt;
}

bool Key::hasValue(const QString& name) const { return value(name).has_value(); }

std::optional<QString> Key::readString(const QString& name) const {
    const std::optional<Value> v = value(name);
    if (!v)
        return std::nullopt;
    if (!v->isString())
        throwError("Invalid data type for '%1'", name);
    return v->text();
}

std::optional<quint32> Key::readDWord(const QString& name) const {
    const std::optional<Value> v = value(name);
    if (!v)
        return std::nullopt;
    if (v->type != REG_DWORD || v->data.size() != 4)
        throwError("Invalid data type for '%1'", name);
    const auto* d = reinterpret_cast<const uchar*>(v->data.constData());
    return quint32(d[0]) | quint32(d[1]) << 8 | quint32(d[2]) << 16 | quint32(d[3]) << 24;
}

void Key::writeString(const QString& name, const QString& text, quint32 type) const {
    writeValue(Value::string(name, text, type));
}

void Key::writeDWord(const QString& name, quint32 number) const { writeValue(Value::dword(name, number)); }

void Key::writeValue(const Value& value) const {
    if (!isOpen() || m_access == Access::Read ||
        changeKey(m_root, m_path, [&](KeyNode& node) {
            node.setValue(value, fileTimeNow());
            return true;
        }) != Status::Ok)
        throwError("Failed to set data for '%1'", value.name);
}

void Key::writeSubKeys(const std::vector<std::pair<QString, std::vector<Value>>>& subkeys) const {
    for (const auto& entry : subkeys) {
        QStringList names;
        if (splitPath(entry.first, names) != Status::Ok || names.size() != 1)
            throwError("Failed to create key '%1'", entry.first);
    }
    if (!isOpen() || m_access == Access::Read ||
        changeKey(m_root, m_path, [&](KeyNode& node) {
            const qint64 now = fileTimeNow();
            for (const auto& [name, values] : subkeys) {
                KeyNode* child = node.addChild(name, now);
                for (const Value& v : values)
                    child->setValue(v, now);
            }
            return true;
        }) != Status::Ok)
        throwError("Failed to set data for '%1'", m_path.join(u'\\'));
}

bool Key::deleteValue(const QString& name) const {
    return isOpen() && m_access != Access::Read &&
           changeKey(m_root, m_path, [&](KeyNode& node) { return node.removeValue(name, fileTimeNow()); }) ==
               Status::Ok;
}

Status Key::deleteSubKey(const QString& path) const {
    if (!isOpen())
        return m_status;
    if (m_access == Access::Read)
        return Status::AccessDenied;
    QStringList names;
    if (const Status s = splitPath(path, names); s != Status::Ok)
        return s;
    if (names.isEmpty())
        return Status::InvalidName;
    return deleteTree(m_root, (m_path + names).join(u'\\'));
}

Status deleteTree(Root root, const QString& path) {
    QStringList names;
    if (const Status s = splitPath(path, names); s != Status::Ok)
        return s;
    if (names.isEmpty())
        return Status::AccessDenied;
    const Place place = placeOf(root);
    const QStringList full = place.prefix + names;
    QString error;
    return cache().modify(
        place,
        [&](Hive& hive, bool& changed) {
            KeyNode* parent = hive.find(full.mid(0, full.size() - 1));
            changed = parent && parent->removeChild(full.last());
            if (changed)
                parent->modified = fileTimeNow();
            return changed ? Status::Ok : Status::NotFound;
        },
        &error);
}

}  // namespace plat::reg
