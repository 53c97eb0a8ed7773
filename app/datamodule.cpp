#include "datamodule.h"

#include "app/transferstatements.h"
#include "platform/appexit.h"
#include "toolkit/tools.h"

#include <QCoreApplication>

TDM* DM = nullptr;

TDM::TDM(QObject* parent) : QObject(parent), TBV(&MainConnection, QStringLiteral("BV")) {
    DM = this;
    setObjectName(QStringLiteral("DM"));
    MainConnection.setLoginPrompt(false);
    try {
        DataModuleCreate(this);
    } catch (const std::exception& error) {
        // An error that connection discovery let through: its own message in the
        // platform's error box. Start-up goes no further without a farm connection, so
        // the main window does not stay open on a program that cannot work.
        Tools->dialogs().plainMessage(QString::fromUtf8(error.what()));
        plat::requestEnd(true);
    }
}

TDM::~TDM() {
    if (DM == this)
        DM = nullptr;
}

void TDM::DataModuleCreate(QObject*) {
    ProgramPath = Tools->AppPath;
    MainConnection.disconnect();
    QString user, password, server, database;
    Tools->FindConStr(user, password, server, database);
    MainConnection.setUser(user);
    MainConnection.setPassword(password);
    MainConnection.setServer(server);
    MainConnection.setDatabase(database);
    QCoreApplication::processEvents();
    try {
        MainConnection.connect();
        Tools->ServerConnection = &MainConnection;
        // Under the transfer's lock: of two programs starting together, the second finds
        // BV upgraded instead of failing on the columns the first has just added.
        const bool locked = Tools->ExecSqlNoCount(transfer::lockStatement()) == 0;
        bool upgraded = locked && Tools->IsFieldExist(QStringLiteral("BV"), QStringLiteral("CalveDistance_Avg"));
        if (locked && !upgraded)
            upgraded = Tools->ExecSql(datamodule::kUpgradeStatement) == 0;
        if (locked)
            Tools->ExecSqlNoCount(transfer::kUnlockStatement);
        if (!upgraded) {
            Tools->ShowMsg(datamodule::kUpgradeFailed);
            plat::requestEnd(true);
        }
    } catch (const std::exception&) {
        Tools->dialogs().plainMessage(datamodule::kConnectFailed);
        plat::requestEnd(true);
    }
}
