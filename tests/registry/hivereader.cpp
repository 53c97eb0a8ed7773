#include "hivereader.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace hivetest {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Text between delimiters up to `end`, resolving \\ \" \[ \] \n \r \t \a \b \e \f \v,
// \x with up to four hex digits and \ with up to three octal digits.
bool unescape(const std::string& s, size_t& i, char end, std::u16string& out) {
    while (i < s.size()) {
        char c = s[i++];
        if (c == end)
            return true;
        if (c != '\\') {
            out += static_cast<char16_t>(static_cast<unsigned char>(c));  // the writer uses ASCII only
            continue;
        }
        if (i >= s.size())
            return false;
        c = s[i++];
        const std::string simple = "abtnvfre";
        const char16_t codes[] = {7, 8, 9, 10, 11, 12, 13, 27};
        if (simple.find(c) != std::string::npos) {
            out += codes[simple.find(c)];
        } else if (c == 'x') {
            unsigned v = 0;
            int n = 0;
            while (n < 4 && i < s.size() && hexDigit(s[i]) >= 0)
                v = v * 16 + hexDigit(s[i++]), ++n;
            out += static_cast<char16_t>(v);
        } else if (c >= '0' && c <= '7') {
            unsigned v = c - '0';
            int n = 1;
            while (n < 3 && i < s.size() && s[i] >= '0' && s[i] <= '7')
                v = v * 8 + (s[i++] - '0'), ++n;
            out += static_cast<char16_t>(v);
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return false;
}

std::string lower(std::u16string s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 128)
            out += static_cast<char>(std::tolower(c));
        else
            out += "\\u" + std::to_string(c);
    }
    return out;
}

}  // namespace

std::optional<std::map<std::string, RawKey>> readHive(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != "WINE REGISTRY Version 2")
        return std::nullopt;
    std::map<std::string, RawKey> keys;
    RawKey* current = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        size_t i = 1;
        if (line[0] == '[') {
            std::u16string path;
            if (!unescape(line, i, ']', path))
                return std::nullopt;
            RawKey& key = keys[lower(path)];
            key.pathAsWritten.assign(path.begin(), path.end());
            current = &key;
            continue;
        }
        if (!current)
            return std::nullopt;
        std::u16string name;
        if (line.rfind("@=", 0) == 0) {
            i = 2;
        } else if (line[0] == '"') {
            if (!unescape(line, i, '"', name) || i >= line.size() || line[i] != '=')
                return std::nullopt;
            ++i;
        } else {
            return std::nullopt;
        }
        RawValue v;
        std::string data = line.substr(i);
        if (data.rfind("dword:", 0) == 0) {
            v.type = 4;
            v.dword = static_cast<unsigned>(std::stoul(data.substr(6), nullptr, 16));
        } else if (data[0] == '"' || data.rfind("str(", 0) == 0) {
            size_t at = 1;
            v.type = 1;
            if (data[0] != '"') {
                const size_t close = data.find("):\"");
                v.type = static_cast<unsigned>(std::stoul(data.substr(4, close - 4), nullptr, 16));
                at = close + 3;
            }
            if (!unescape(data, at, '"', v.text))
                return std::nullopt;
        } else if (data.rfind("hex", 0) == 0) {
            v.type = 3;
            size_t at = data.find(':') + 1;
            if (data[3] == '(')
                v.type = static_cast<unsigned>(std::stoul(data.substr(4), nullptr, 16));
            for (;;) {
                while (at < data.size() && (data[at] == ' ' || data[at] == ','))
                    ++at;
                if (at < data.size() && data[at] == '\\') {
                    if (!std::getline(in, data))
                        return std::nullopt;
                    at = 0;
                    continue;
                }
                if (at + 1 >= data.size())
                    break;
                v.hex.push_back(static_cast<unsigned char>(hexDigit(data[at]) * 16 + hexDigit(data[at + 1])));
                at += 2;
            }
        } else {
            return std::nullopt;
        }
        current->values[name] = v;
    }
    return keys;
}

std::optional<std::map<std::string, RawKey>> readHiveFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f)
        return std::nullopt;
    std::ostringstream s;
    s << f.rdbuf();
    return readHive(s.str());
}

}  // namespace hivetest
