// The windows are measured with the program's own fontconfig file, which the program
// loads before its application object exists; so must these tests.
#include <QByteArray>
#include <QtGlobal>

namespace {
const bool g_shippedFonts = [] {
    qputenv("FONTCONFIG_FILE", QByteArray(BV_FONTS_CONF));
    return true;
}();
}  // namespace
