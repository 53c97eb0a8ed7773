#include "registryhive.h"

#include <QDateTime>
#include <algorithm>
#include <cctype>

namespace plat::reg {

namespace {

constexpr char kVersionLine[] = "WINE REGISTRY Version 2";
constexpr qint64 kTicksPerSecond = 10000000;
constexpr qint64 kTicks1601To1970 = 116444736000000000LL;

template <typename Items, typename NameOf>
auto lowerBound(Items& items, const QString& name, NameOf nameOf) {
    return std::lower_bound(items.begin(), items.end(), name,
                            [&](const auto& item, const QString& n) { return compareNames(nameOf(item), n) < 0; });
}

const QString& nodeName(const std::unique_ptr<KeyNode>& node) { return node->name; }
const QString& valueName(const Value& v) { return v.name; }

// Escapes text as the hive file writes it: ASCII only, everything above 127 as \x
// (four digits when a hex digit follows), controls as C or octal escapes, and the
// backslash and the two delimiters given with a backslash.
void appendEscaped(QByteArray& out, const QString& text, char open, char close) {
    static const char kEscapes[33] = ".......abtnvfr.............e....";
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char16_t next = i + 1 < text.size() ? text[i + 1].unicode() : 0;
        if (c > 127) {
            const bool hexFollows = next < 128 && std::isxdigit(static_cast<unsigned char>(next));
            out += (hexFollows ? QByteArray("\\x") + QByteArray::number(c, 16).rightJustified(4, '0')
                               : QByteArray("\\x") + QByteArray::number(c, 16));
        } else if (c < 32) {
            if (kEscapes[c] != '.') {
                out += '\\';
                out += kEscapes[c];
            } else {
                const bool octalFollows = next >= '0' && next <= '7';
                out += '\\';
                out += octalFollows ? QByteArray::number(c, 8).rightJustified(3, '0') : QByteArray::number(c, 8);
            }
        } else {
            if (c == '\\' || c == open || c == close)
                out += '\\';
            out += static_cast<char>(c);
        }
    }
}

// Reads escaped text up to the unescaped end character; answers the position after it,
// or -1 when the text ends first.
qsizetype parseEscaped(const QString& line, qsizetype pos, char16_t end, QString& out) {
    while (pos < line.size()) {
        const char16_t c = line[pos].unicode();
        if (c == end)
            return pos + 1;
        if (c != '\\') {
            out += line[pos++];
            continue;
        }
        if (++pos >= line.size())
            return -1;
        const char16_t e = line[pos].unicode();
        switch (e) {
        case 'a':
            out += QChar(7);
            ++pos;
            break;
        case 'b':
            out += QChar(8);
            ++pos;
            break;
        case 'e':
            out += QChar(27);
            ++pos;
            break;
        case 'f':
            out += QChar(12);
            ++pos;
            break;
        case 'n':
            out += QChar(10);
            ++pos;
            break;
        case 'r':
            out += QChar(13);
            ++pos;
            break;
        case 't':
            out += QChar(9);
            ++pos;
            break;
        case 'v':
            out += QChar(11);
            ++pos;
            break;
        case 'x': {
            ++pos;
            char16_t code = 0;
            int digits = 0;
            while (digits < 4 && pos < line.size() && std::isxdigit(static_cast<unsigned char>(line[pos].unicode())) &&
                   line[pos].unicode() < 128) {
                code = static_cast<char16_t>(code * 16 + QStringView(line).mid(pos, 1).toUInt(nullptr, 16));
                ++pos;
                ++digits;
            }
            if (digits == 0)
                out += u'x';
            else
                out += QChar(code);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                char16_t code = 0;
                int digits = 0;
                while (digits < 3 && pos < line.size() && line[pos] >= u'0' && line[pos] <= u'7') {
                    code = static_cast<char16_t>(code * 8 + (line[pos].unicode() - '0'));
                    ++pos;
                    ++digits;
                }
                out += QChar(code);
            } else {
                out += line[pos++];
            }
        }
    }
    return -1;
}

// Parses "xx,xx,..." hex bytes; answers the position of the first character after them.
qsizetype parseHex(const QString& line, qsizetype pos, QByteArray& out, bool& ok) {
    ok = true;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == u' ' || line[pos] == u'\t'))
            ++pos;
        if (pos + 1 < line.size() && std::isxdigit(static_cast<unsigned char>(line[pos].unicode())) &&
            std::isxdigit(static_cast<unsigned char>(line[pos + 1].unicode())) && line[pos].unicode() < 128 &&
            line[pos + 1].unicode() < 128) {
            out += static_cast<char>(QStringView(line).mid(pos, 2).toUInt(nullptr, 16));
            pos += 2;
        } else {
            break;
        }
        while (pos < line.size() && (line[pos] == u' ' || line[pos] == u'\t'))
            ++pos;
        if (pos < line.size() && line[pos] == u',')
            ++pos;
        else
            break;
    }
    return pos;
}

// The hex number of "str(N)..." or "hex(N)..." up to the closing text; *after is set to
// the position after it.
std::optional<quint32> kindNumber(const QString& rest, QLatin1String closing, qsizetype& after) {
    const qsizetype close = rest.indexOf(closing);
    bool ok = false;
    const quint32 kind = close > 4 ? rest.mid(4, close - 4).toUInt(&ok, 16) : 0;
    if (!ok)
        return std::nullopt;
    after = close + closing.size();
    return kind;
}

QByteArray utf16z(const QString& text) {
    QByteArray data;
    data.reserve((text.size() + 1) * 2);
    for (QChar c : text) {
        data += static_cast<char>(c.unicode() & 0xff);
        data += static_cast<char>(c.unicode() >> 8);
    }
    data.append(2, '\0');
    return data;
}

// A string value that the file can show as text: a whole number of UTF-16 units ending
// in a zero.
bool writableAsText(const Value& v) {
    if (v.type != REG_SZ && v.type != REG_EXPAND_SZ && v.type != REG_MULTI_SZ)
        return false;
    const qsizetype n = v.data.size();
    return n >= 2 && n % 2 == 0 && v.data[n - 1] == '\0' && v.data[n - 2] == '\0';
}

void appendValue(QByteArray& out, const Value& v) {
    qsizetype count = out.size();
    if (v.name.isEmpty()) {
        out += "@=";
    } else {
        out += '"';
        appendEscaped(out, v.name, '"', '"');
        out += "\"=";
    }
    if (writableAsText(v)) {
        if (v.type != REG_SZ)
            out += "str(" + QByteArray::number(v.type, 16) + "):";
        out += '"';
        QString text;
        for (qsizetype i = 0; i + 2 < v.data.size(); i += 2)  // all but the terminating zero
            text += QChar(static_cast<char16_t>(static_cast<uchar>(v.data[i]) | (static_cast<uchar>(v.data[i + 1]) << 8)));
        appendEscaped(out, text, '"', '"');
        out += "\"\n";
        return;
    }
    if (v.type == REG_DWORD && v.data.size() == 4) {
        const quint32 n = static_cast<uchar>(v.data[0]) | (static_cast<uchar>(v.data[1]) << 8) |
                          (static_cast<uchar>(v.data[2]) << 16) | (static_cast<quint32>(static_cast<uchar>(v.data[3])) << 24);
        out += "dword:" + QByteArray::number(n, 16).rightJustified(8, '0') + '\n';
        return;
    }
    out += v.type == REG_BINARY ? QByteArray("hex:") : "hex(" + QByteArray::number(v.type, 16) + "):";
    count = out.size() - count;
    for (qsizetype i = 0; i < v.data.size(); ++i) {
        out += QByteArray::number(static_cast<uchar>(v.data[i]), 16).rightJustified(2, '0');
        count += 2;
        if (i < v.data.size() - 1) {
            out += ',';
            if (++count > 76) {
                out += "\\\n  ";
                count = 2;
            }
        }
    }
    out += '\n';
}

void appendKeys(QByteArray& out, const KeyNode& node, const QString& path, bool isRoot) {
    if ((!isRoot || !node.values.empty()) &&
        (!node.values.empty() || node.subkeys.empty() || !node.optionLines.isEmpty())) {
        out += "\n[";
        appendEscaped(out, path, '[', ']');
        out += "] " + QByteArray::number((node.modified - kTicks1601To1970) / kTicksPerSecond) + '\n';
        out += "#time=" + QByteArray::number(static_cast<quint64>(node.modified), 16) + '\n';
        for (const QString& line : node.optionLines)
            out += line.toUtf8() + '\n';
        for (const Value& v : node.values)
            appendValue(out, v);
    }
    for (const auto& child : node.subkeys)
        appendKeys(out, *child, isRoot ? child->name : path + u'\\' + child->name, false);
}

}  // namespace

int compareNames(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive); }

qint64 fileTimeNow() {
    return QDateTime::currentMSecsSinceEpoch() * (kTicksPerSecond / 1000) + kTicks1601To1970;
}

Value Value::string(const QString& name, const QString& text, quint32 type) { return Value{name, type, utf16z(text)}; }

Value Value::dword(const QString& name, quint32 number) {
    QByteArray data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[i] = static_cast<char>((number >> (8 * i)) & 0xff);
    return Value{name, REG_DWORD, data};
}

QString Value::text() const {
    QString out;
    for (qsizetype i = 0; i + 1 < data.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(static_cast<uchar>(data[i]) | (static_cast<uchar>(data[i + 1]) << 8));
        if (c == 0)
            break;
        out += QChar(c);
    }
    return out;
}

KeyNode* KeyNode::child(const QString& childName) const {
    auto it = lowerBound(subkeys, childName, nodeName);
    return it != subkeys.end() && compareNames((*it)->name, childName) == 0 ? it->get() : nullptr;
}

KeyNode* KeyNode::addChild(const QString& childName, qint64 now) {
    auto it = lowerBound(subkeys, childName, nodeName);
    if (it != subkeys.end() && compareNames((*it)->name, childName) == 0)
        return it->get();
    auto node = std::make_unique<KeyNode>();
    node->name = childName;
    node->modified = now;
    modified = now;
    return subkeys.insert(it, std::move(node))->get();
}

bool KeyNode::removeChild(const QString& childName) {
    auto it = lowerBound(subkeys, childName, nodeName);
    if (it == subkeys.end() || compareNames((*it)->name, childName) != 0)
        return false;
    subkeys.erase(it);
    return true;
}

const Value* KeyNode::value(const QString& name) const {
    auto it = lowerBound(values, name, valueName);
    return it != values.end() && compareNames(it->name, name) == 0 ? &*it : nullptr;
}

void KeyNode::setValue(Value v, qint64 now) {
    modified = now;
    auto it = lowerBound(values, v.name, valueName);
    if (it != values.end() && compareNames(it->name, v.name) == 0) {
        v.name = it->name;  // the name keeps the case it was created with
        *it = std::move(v);
    } else {
        values.insert(it, std::move(v));
    }
}

bool KeyNode::removeValue(const QString& name, qint64 now) {
    auto it = lowerBound(values, name, valueName);
    if (it == values.end() || compareNames(it->name, name) != 0)
        return false;
    values.erase(it);
    modified = now;
    return true;
}

Hive Hive::empty(const QString& relativeTo) {
    Hive hive;
    hive.root.modified = fileTimeNow();
    QByteArray comment(";; All keys relative to ");
    appendEscaped(comment, relativeTo, '\\', '\\');
    hive.headerLines = {QString::fromLatin1(comment), QString(), QStringLiteral("#arch=win64")};
    return hive;
}

KeyNode* Hive::find(const QStringList& path) const {
    const KeyNode* node = &root;
    for (const QString& name : path) {
        node = node->child(name);
        if (!node)
            return nullptr;
    }
    return const_cast<KeyNode*>(node);
}

std::optional<Hive> Hive::parse(const QByteArray& bytes, QString* error) {
    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    auto fail = [&](qsizetype lineIndex, const char* why) -> std::optional<Hive> {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(lineIndex + 1).arg(QLatin1String(why));
        return std::nullopt;
    };
    if (lines.isEmpty() || lines[0] != QLatin1String(kVersionLine))
        return fail(0, "not a registry hive of version 2");
    Hive hive;
    KeyNode* key = nullptr;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.startsWith(u'[')) {
            QString path;
            const qsizetype end = parseEscaped(line, 1, u']', path);
            if (end < 0)
                return fail(i, "key name without its closing bracket");
            const qint64 seconds = line.mid(end).trimmed().toLongLong();
            key = &hive.root;
            if (!path.isEmpty()) {
                const QStringList names = path.split(u'\\');
                for (const QString& name : names) {
                    if (name.isEmpty())
                        return fail(i, "empty key name");
                    key = key->addChild(name, 0);
                }
            }
            key->modified = seconds * kTicksPerSecond + kTicks1601To1970;
            continue;
        }
        if (!key) {
            hive.headerLines.append(line);
            continue;
        }
        if (line.startsWith(u'#')) {
            if (line.startsWith(QLatin1String("#time="))) {
                bool ok = false;
                const qint64 t = static_cast<qint64>(line.mid(6).toULongLong(&ok, 16));
                if (ok)
                    key->modified = t;
            } else {
                key->optionLines.append(line);
            }
            continue;
        }
        if (line.trimmed().isEmpty() || line.startsWith(u';'))
            continue;
        Value v;
        qsizetype pos = 0;
        if (line.startsWith(QLatin1String("@="))) {
            pos = 2;
        } else if (line.startsWith(u'"')) {
            pos = parseEscaped(line, 1, u'"', v.name);
            if (pos < 0 || pos >= line.size() || line[pos] != u'=')
                return fail(i, "value name without '='");
            ++pos;
        } else {
            return fail(i, "neither a key nor a value");
        }
        const QString rest = line.mid(pos);
        QString text;
        if (rest.startsWith(u'"') || rest.startsWith(QLatin1String("str("))) {
            v.type = REG_SZ;
            qsizetype start = 1;
            if (rest.startsWith(QLatin1String("str("))) {
                const std::optional<quint32> kind = kindNumber(rest, QLatin1String("):\""), start);
                if (!kind)
                    return fail(i, "string kind unreadable");
                v.type = *kind;
            }
            if (parseEscaped(rest, start, u'"', text) < 0)
                return fail(i, "string without its closing quote");
            v.data = utf16z(text);
        } else if (rest.startsWith(QLatin1String("dword:"))) {
            bool ok = false;
            const quint32 n = rest.mid(6).trimmed().toUInt(&ok, 16);
            if (!ok)
                return fail(i, "dword unreadable");
            v = Value::dword(v.name, n);
        } else if (rest.startsWith(QLatin1String("hex"))) {
            qsizetype at = 3;
            v.type = REG_BINARY;
            if (rest.startsWith(QLatin1String("hex("))) {
                const std::optional<quint32> kind = kindNumber(rest, QLatin1String(")"), at);
                if (!kind)
                    return fail(i, "binary kind unreadable");
                v.type = *kind;
            }
            if (at >= rest.size() || rest[at] != u':')
                return fail(i, "binary without ':'");
            QString part = rest.mid(at + 1);
            for (;;) {
                bool ok = true;
                const qsizetype after = parseHex(part, 0, v.data, ok);
                if (after < part.size() && part[after] == u'\\') {
                    if (++i >= lines.size())
                        return fail(i - 1, "binary continued past the end");
                    part = lines[i];
                    continue;
                }
                break;
            }
        } else {
            return fail(i, "value data unreadable");
        }
        key->setValue(std::move(v), key->modified);
    }
    return hive;
}

QByteArray Hive::serialize() const {
    QByteArray out(kVersionLine);
    out += '\n';
    QStringList header = headerLines;
    while (!header.isEmpty() && header.last().isEmpty())
        header.removeLast();
    for (const QString& line : header)
        out += line.toUtf8() + '\n';
    appendKeys(out, root, QString(), true);
    return out;
}

}  // namespace plat::reg
