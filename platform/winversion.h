#pragma once
// The platform's version query as the program asks it: the basic version record
// (platform id, major, minor, service-pack text) and the product type text that the
// registry keeps under SYSTEM\CurrentControlSet\Control\ProductOptions, "ProductType".
//
// Linux reports the NT family 6.1; the product type is read from this platform's
// registry (platform/registry.h), HKEY_LOCAL_MACHINE. The environment variable
// BVT_WINVER sets another version, for tests and for trying the program as it runs on
// another system; its fields are separated by ";":
//
//     BVT_WINVER="PLATFORMID;MAJOR;MINOR;SERVICEPACK;PRODUCTTYPE"
//
//   PLATFORMID  1 (the 9x family), 2 (the NT family) or any other number
//   SERVICEPACK the service-pack text, may be empty ("4;10; A " is 98 SE)
//   PRODUCTTYPE the product type ("WinNT", "LanmanNT", "ServerNT", anything) in place
//               of the registry's; left out entirely (four fields): the registry's
//
// BVT_WINVER="fail" makes the query fail; a value that is not of the form above fails
// the query too.
#include <QString>
#include <optional>

namespace plat {

struct OsVersionInfo {
    int platformId = 0;  // 1: 9x family, 2: NT family
    int major = 0;
    int minor = 0;
    QString servicePack;
};

class WinVersionSource {
public:
    virtual ~WinVersionSource() = default;
    // The basic version record; nullopt when the query fails.
    virtual std::optional<OsVersionInfo> versionInfo() = 0;
    // The registry's product type text; nullopt when the key cannot be opened.
    virtual std::optional<QString> productType() = 0;
};

// The stand-in of this platform: NT 6.1 and the registry's product type unless
// BVT_WINVER says otherwise. The variable and the registry are read on every call.
class EnvWinVersionSource : public WinVersionSource {
public:
    std::optional<OsVersionInfo> versionInfo() override;
    std::optional<QString> productType() override;
};

// The process-wide source the toolkit asks.
WinVersionSource& winVersionSource();
// Replaces it (tests); nullptr restores the stand-in. Not owned.
void setWinVersionSource(WinVersionSource* source);

}  // namespace plat
