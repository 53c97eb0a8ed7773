#pragma once
// A farm on the embedded engine in a temporary folder, the credentials file of an
// installation pointing at it, and breeding-centre files written byte for byte.
#include "tests/fixtures/qstringprint.h"
#include "app/transferstatements.h"
#include "tests/fixtures/bvdata.h"
#include "tests/fixtures/farmbuilder.h"
#include "connection/credentialsfile.h"
#include "tests/fixtures/endrequest.h"
#include "tests/fixtures/farmserver.h"
#include "app/datamodule.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace farmtest {

inline const QString kToday = QStringLiteral("1403/02/15");  // the solar date of 2024-05-04
inline const QDate kSystemDate(2024, 5, 4);
constexpr int kAnimals = 20;

inline QString reg(long long serial) { return bvdata::registrationNumber(serial); }

// The named columns and one text column of the centre's own, in the file's order.
inline const QStringList kHeader{"RegNo", "Name", "BvMilk", "BvFat", "BvFatPercent",
                                 "RankTotalMilk", "RankTotalFat", "RankHerdMilk", "RankHerdFat", "PeriodCount",
                                 "BvPro", "BvProPercent", "RankTotalPro", "RankHerdPro", "MilkME_Avg",
                                 "FatME_Avg", "FatPerME_Avg", "ProME_Avg", "ProPerME_Avg", "CalveDistance_Avg"};

// Row i of a file: its 18 numbers, exact in binary so that their text is predictable.
inline QStringList numbersOf(int i) {
    return {QString::number(100 + i) + ".5", QString::number(10 + i) + ".25", "3.75",
            QString::number(i + 1), QString::number(i + 2), QString::number(i + 3),
            QString::number(i + 4), "4", QString::number(20 + i) + ".5",
            "3.125", QString::number(i + 5), QString::number(i + 6),
            "9000.5", "310.25", "3.5",
            "280.75", "3.25", QString::number(390 + i)};
}

// A file line: the registration number as written, a name, the numbers of row i.
inline QString line(const QString& regNo, int i, const QString& name = QStringLiteral("cow")) {
    return (QStringList{regNo, name} + numbersOf(i)).join(QLatin1Char(','));
}

// The BV row a file line of row i becomes, as texts, NULL for NULL.
inline QString bvRow(long long serial, const QString& repairedRegNo, int i, const QString& date = kToday) {
    const QStringList n = numbersOf(i);
    QStringList row{QString::number(serial), date, repairedRegNo, "NULL"};
    row << n.mid(0, 7) << "NULL"
        << "NULL" << n.mid(7);
    return row.join(QLatin1Char('|'));
}

class FarmFixture : public ::testing::Test {
public:
    void SetUp() override {
        clearEndRequest();
        dialogs.clear();
        serverHolder = std::make_unique<FarmServer>();
        server = serverHolder.get();
        appPath = appDir.path() + QLatin1Char('/');
        filesDir = files.path() + QLatin1Char('/');
        createFarm(false);
    }
    void TearDown() override {
        dm.reset();
        tools.reset();
        clearEndRequest();
    }

    // The toolkit and the farm database module as start-up creates them, on this farm;
    // catalogueLogin answers the catalogue's connect dialog.
    void startToolkit(da::LoginPrompt* catalogueLogin = nullptr) {
        ToolsOptions options;
        options.dialogs = &dialogs;
        options.appPath = appPath;
        options.systemDate = kSystemDate;
        tools = std::make_unique<TTools>(options);
        if (catalogueLogin)
            tools->MSConnectDialog2 = catalogueLogin;
        dm = std::make_unique<TDM>();
    }

    void createFarm(bool upgraded, bool withBv = true) {
        bvdata::FarmRecipe recipe;
        recipe.server = server->name();
        recipe.animals = kAnimals;
        recipe.upgradedBv = upgraded;
        bvdata::createFarm(recipe);
        if (!withBv)
            server->run(QStringLiteral("Farm"), QStringLiteral("DROP TABLE BV"));
        conn::writeCredentialsFile(appPath + QStringLiteral("WTimes.DLL"),
                                   {server->name(), QStringLiteral("Farm"), QStringLiteral("sa"), QStringLiteral("pw")});
    }

    // Writes a file of the given bytes into the files folder (or a sub-folder).
    QString writeFile(const QString& relative, const QByteArray& bytes) {
        const QString path = filesDir + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }
    static QByteArray crlf(const QStringList& lines) {
        return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    }

    // The standard file: h-prefixed, bare and H-prefixed numbers and a cow the farm
    // does not have.
    static QStringList standardLines() {
        return {kHeader.join(','), line("h" + reg(3), 0), line(reg(5), 1), line("H" + reg(7), 2),
                line("h9999999999", 3)};
    }
    static QStringList standardBv() { return {bvRow(3, reg(3), 0), bvRow(5, reg(5), 1), bvRow(7, reg(7), 2)}; }

    QStringList bvRows() { return server->rows(QStringLiteral("Farm"), QStringLiteral("SELECT * FROM BV ORDER BY Serial")); }
    QStringList bvColumns() {
        return server->rows(QStringLiteral("Farm"),
                            QStringLiteral("SELECT COLUMN_NAME FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = 'BV' "
                                           "ORDER BY ORDINAL_POSITION"));
    }

    QTemporaryDir appDir;
    QTemporaryDir files;
    QString appPath;
    QString filesDir;
    std::unique_ptr<FarmServer> serverHolder;
    FarmServer* server = nullptr;
    RecordingDialogs dialogs;
    std::unique_ptr<TTools> tools;
    std::unique_ptr<TDM> dm;
};

}  // namespace farmtest
