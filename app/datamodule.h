#pragma once
// The farm database module: owns the connection to the customer's farm database. Its
// creation finds the connection parameters, connects, hands the connection to the
// toolkit and brings BV up to the column layout the transfer needs; on failure it tells
// the user and requests the end of the program.
#include "dataaccess/connection.h"
#include "dataaccess/table.h"

#include <QObject>
#include <QString>

class TDM : public QObject {
    Q_OBJECT
public:
    // Sets DM, then runs DataModuleCreate; needs Tools.
    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;

    da::Connection MainConnection;
    // The table BV of MainConnection; nothing opens it.
    da::Table TBV;
    // The data source on TBV: data-bound controls of this code base bind to the table.
    da::Table* const DBV = &TBV;
    QString ProgramPath;

    void DataModuleCreate(QObject* Sender);
};

extern TDM* DM;

namespace datamodule {
// Adds the eleven newer columns to BV.
inline const QString kUpgradeStatement = QStringLiteral(
    "ALTER TABLE [dbo].[BV] ADD [PeriodCount] float ,[BvPro] float ,[BvProPercent] float ,[RankTotalPro] float "
    ",[RankHerdPro] float ,[MilkME_Avg] float ,[FatME_Avg] float ,[FatPerME_Avg] float ,[ProME_Avg] float "
    ",[ProPerME_Avg] float ,[CalveDistance_Avg] float ");
inline const QString kUpgradeFailed = QStringLiteral(
    "خطا در اضافه كردن فيلدهاي جديد . لطفا كليه برنامه هاي در جال اجرا را ببنديد و دوباره سعي كنيد");
inline const QString kConnectFailed = QStringLiteral("خطادر اتصال به پايگاه اطلاعاتي ورنيكان ");
}  // namespace datamodule
