#include "systemreport.h"

namespace desk {

std::vector<std::pair<QString, QString>> systemReportRows(const SystemFacts& f) {
    const QString kiloBytes = QStringLiteral("  كيلو بايت  ");
    std::vector<std::pair<QString, QString>> rows{
        {QStringLiteral("گزارش سيستم"), f.today},
        {QStringLiteral("ارتفاع صفحه نمايش"), QString::number(f.screenHeight)},
        {QStringLiteral("عرض صفحه نمايش"), QString::number(f.screenWidth)},
        {QStringLiteral("HDD Serial"), f.serial ? QString::number(*f.serial) : QStringLiteral("Not Detect")},
    };
    for (qsizetype i = 0; i < f.layoutNames.size() && i < 16; ++i)
        rows.emplace_back(QStringLiteral("زبان"), f.layoutNames[i]);
    rows.emplace_back(QStringLiteral("درصد حافظه در حال استفاده"), QString::number(f.memoryLoad));
    // The true figures: the 32-bit status call would cap both at 4 GiB.
    rows.emplace_back(QStringLiteral("حافظه اصلي سيستم"), QString::number(f.totalPhys / 1024) + kiloBytes);
    rows.emplace_back(QStringLiteral("برنامه فعلي در حال اجرا"), QString::number(f.totalVirtual / 1024) + kiloBytes);
    rows.emplace_back(QStringLiteral("فرمت تاريخ كوتاه"), f.shortDate);
    rows.emplace_back(QStringLiteral("فرمت تاريخ بلند"), f.longDate);
    rows.emplace_back(QStringLiteral("فرمت ساعت كوتاه"), f.shortTime);
    rows.emplace_back(QStringLiteral("فرمت ساعت بلند"), f.longTime);
    return rows;
}

}  // namespace desk
