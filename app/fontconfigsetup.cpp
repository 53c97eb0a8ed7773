#include "fontconfigsetup.h"

#include <QByteArray>
#include <filesystem>
#include <system_error>

void useShippedFontConfig() {
    if (qEnvironmentVariableIsSet("FONTCONFIG_FILE"))
        return;
    std::error_code error;
    // The application object does not exist yet, so the executable's folder comes from
    // the kernel's link.
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return;
    const std::filesystem::path conf = exe.parent_path() / "fonts.conf";
    if (std::filesystem::is_regular_file(conf, error))
        qputenv("FONTCONFIG_FILE", QByteArray::fromStdString(conf.string()));
}
