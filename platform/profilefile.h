#pragma once
// Writing one key of a profile file ("[Section]" lines and "key=value" lines) the way
// the platform's WritePrivateProfileString does: the section and the key are found
// without regard to case and to blanks around them; an existing key's line gets the new
// value (its name as it stands), a missing key is added at the end of its section, a
// missing section is added at the end of the file, a missing file is created. Every
// other line stays as it was, byte for byte. Lines written end in CR LF.
//
// The file stays in its encoding: UTF-16 LE or UTF-8 when it begins with that
// byte-order mark, else the ANSI code page. Text that the ANSI code page cannot hold
// turns the file into UTF-16 LE with its mark (which the platform's profile reader
// reads) instead of being written as question marks.
#include <QString>
#include <stdexcept>

namespace plat {

// Raised by callers that report a failed write: "Unable to write to %s".
class ProfileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// False (nothing written) when the file cannot be read or replaced or carries no write
// permission at all, or when a name or the value would change the file's structure: a
// line break anywhere, a "]" in the section, a "=" in the key, an empty key.
bool writePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& fileName);

}  // namespace plat
