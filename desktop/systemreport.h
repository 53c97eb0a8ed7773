#pragma once
// The computer report's rows, in their fixed order, from the facts the system gives.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace desk {

inline const QString kVersionReportTitle = QStringLiteral("گزارش مشخصات نرم افزار");
inline const QString kVersionReportFailed = QStringLiteral("امكان نمايش كنترل نسخ نيست");
inline const QString kSystemReportTitle = QStringLiteral("گزارش مشخصات كامپيوتر");
inline const QString kWorldClocksTitle = QStringLiteral("ساعتهاي جهان");

struct SystemFacts {
    QString today;  // the solar date
    int screenHeight = 0;
    int screenWidth = 0;
    std::optional<std::uint32_t> serial;  // nothing: "Not Detect"
    QStringList layoutNames;              // in the desktop's order
    unsigned memoryLoad = 0;
    std::uint64_t totalPhys = 0;     // bytes
    std::uint64_t totalVirtual = 0;  // bytes
    QString shortDate, longDate, shortTime, longTime;
};

// Title and value of every row; at most 16 layout rows.
std::vector<std::pair<QString, QString>> systemReportRows(const SystemFacts& facts);

}  // namespace desk
