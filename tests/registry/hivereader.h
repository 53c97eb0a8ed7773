#pragma once
// A reader of hive files for the tests, written from the text format's description and
// sharing nothing with the program's own reader: it checks what the program writes.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace hivetest {

struct RawValue {
    unsigned type = 0;               // 1 for a plain "..." string
    std::u16string text;             // string kinds, as written between the quotes
    unsigned dword = 0;              // dword:
    std::vector<unsigned char> hex;  // hex: and hex(N):
};

struct RawKey {
    std::string pathAsWritten;  // between the brackets, escapes resolved (UTF-8)
    std::map<std::u16string, RawValue> values;
};

// Keys by their path in lower case (ASCII); nullopt when the text is not a version 2 hive.
std::optional<std::map<std::string, RawKey>> readHive(const std::string& text);
std::optional<std::map<std::string, RawKey>> readHiveFile(const std::string& path);

}  // namespace hivetest
