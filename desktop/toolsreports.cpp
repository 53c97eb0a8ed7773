// The toolkit's system and version reports on the message board.
#include "desktop/reportsources.h"
#include "desktop/systemreport.h"
#include "desktop/worldclocks.h"
#include "platform/fileversion.h"
#include "platform/formatsettings.h"
#include "platform/systeminfo.h"
#include "toolkit/messageboardform.h"
#include "toolkit/tools.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

namespace {

// Closes the report however the rows end.
struct Recording {
    explicit Recording(const QString& title) { MessageBoardForm->StartRecording(false, title); }
    ~Recording() { MessageBoardForm->StopRecording(); }
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;
};

}  // namespace

void TTools::VersionShow() {
    Recording report(desk::kVersionReportTitle);
    auto query = std::make_unique<da::Query>(ServerConnection);
    try {
        query->clearSql();
        query->addSql(QStringLiteral("Select * from Info Where GroupSec='Version'"));
        query->prepare();
        query->open();
        while (!query->eof()) {
            MessageBoardForm->PostThisMessage(query->fieldByName(QStringLiteral("KeyName")).asString(),
                                              query->fieldByName(QStringLiteral("KeyValue")).asString());
            query->next();
        }
    } catch (const std::exception&) {
        ShowMsg(desk::kVersionReportFailed);
    }
}

void TTools::GetSystemPeroperties() {
    Recording report(desk::kSystemReportTitle);
    desk::SystemFacts facts;
    facts.today = FarsiToday();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        facts.screenHeight = screen->geometry().height();
        facts.screenWidth = screen->geometry().width();
    }
    facts.serial = plat::volumeSerial();
    facts.layoutNames = plat::keyboardLayoutNames();
    const plat::MemoryStatus memory = plat::memoryStatus();
    facts.memoryLoad = memory.memoryLoad;
    facts.totalPhys = memory.totalPhys;
    facts.totalVirtual = memory.totalVirtual;
    const plat::FormatSettings& fs = plat::formatSettings();
    facts.shortDate = fs.shortDateFormat;
    facts.longDate = fs.longDateFormat;
    facts.shortTime = fs.shortTimeFormat;
    facts.longTime = fs.longTimeFormat;
    for (const auto& [title, value] : desk::systemReportRows(facts))
        MessageBoardForm->PostThisMessage(title, value);
}

void TTools::ShowTimes() {
    Recording report(desk::kWorldClocksTitle);
    MessageBoardForm->PostThisMessage(QStringLiteral("Iran(Tehran)"), NowTime());
    const auto zones = desk::readZoneKeys();
    if (!zones)
        return;
    desk::postWorldClocks(*zones, desk::worldClockNow(), plat::formatSettings(),
                          [](const desk::ClockRow& row) { MessageBoardForm->PostThisMessage(row.title, row.value); });
}

// An executable without a version answers an empty text.
QString TTools::GetVersion() { return plat::fileVersion(QCoreApplication::applicationFilePath()); }

void TTools::ShowSystemInformation() {}
