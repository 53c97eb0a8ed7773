#pragma once
// The toolkit form: one never-shown form that carries the shared components and the
// toolkit's public operations under their established names. It holds the shared state
// and forwards to small units; each subsystem defines its members in its own folder
// (calendar/toolscalendar.cpp, connection/toolsconnection.cpp, ...).
#include "dataaccess/connection.h"
#include "dataaccess/query.h"
#include "dataaccess/table.h"
#include "toolkit/userdialogs.h"

#include <QDate>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <memory>

class QLineEdit;
class QSystemTrayIcon;
class TMessageBoardForm;

struct ToolsOptions {
    // The dialog seam; nullptr: the Qt dialogs, owned by the toolkit.
    UserDialogs* dialogs = nullptr;
    // The application directory with trailing separator; empty: the executable's folder.
    QString appPath;
    // The system date used for today's solar date; invalid: the clock's date.
    QDate systemDate;
};

class TTools : public QWidget {
    Q_OBJECT
public:
    explicit TTools(const ToolsOptions& options = {}, QWidget* parent = nullptr);
    ~TTools() override;

    // ---- Working environment
    QString AppPath;
    int WinVer = 0;
    QRect DeskSize;
    bool ViewCanBeDroped = false;
    QStringList ReturnedValues;
    int ReturnedValueCount = 0;

    void FormCreate(QObject* Sender);
    void SetConfigAgain(QObject* Sender);
    void _SetConfigAgain();
    void SwitchToFarsi();
    void SwitchToEnglish();
    // Key-down handlers for other forms (Key is set to 0 when consumed).
    void SetKeyActivateConfig(QWidget* Sender, int& Key, Qt::KeyboardModifiers Shift);
    void SetKeyActivateJustClose(QWidget* Sender, int& Key, Qt::KeyboardModifiers Shift);
    QString GetWinVersion();
    QString FarsiToday();

    // ---- Components
    // The connection every SQL operation runs on; start-up points it at the farm
    // database module's connection.
    da::Connection* ServerConnection = nullptr;
    da::Connection* Multiconnection = nullptr;
    da::Query* MultiQAsk = nullptr;
    da::LoginPrompt* MSConnectDialog2 = nullptr;
    da::LoginPrompt* MSConnectDialog1 = nullptr;
    QSystemTrayIcon* CTrayI = nullptr;
    bool CTrayIEnabled = false;  // created disabled; nothing in the program enables it
    UserDialogs& dialogs() { return *m_dialogs; }

    // ---- Small value helpers
    QVariant iif(bool Test, const QVariant& TrueR, const QVariant& FalseR);
    int Max(int x, int y);
    int Min(int x, int y);
    int ToInt(double Num);
    double To2DigitFloat(double InNum);
    bool IsValidNum(const QString& St);
    bool IsBlank(const QString& St);
    QString RemoveRLBLank(const QString& InSt);
    void SetStringList(QStringList*& StLName);

    // ---- Messages and questions
    void ShowMsg(const QString& St);
    int AskYesNo(const QString& St);
    int AskYesNoAll(const QString& St);
    int ChartOrFr3();
    void ShowBoxMessage(const QString& Msg);
    void ShowBigBoxMessage(const QString& Msg);
    void ShowBoxMessageColor(const QString& Msg, unsigned Color);
    void ShowBoxClose();

    // ---- SQL execution and schema probes
    int ExecSql(const QString& SqlSt);
    int ExecSqlNoCount(const QString& SqlSt);
    void ShowExceptMsg(const QString& Msg, const QString& ErMsg);
    bool IsFieldExist(const QString& TblName, const QString& FldName);
    bool IsTableExist(const QString& TblName);
    bool IsDataBaseExist(const QString& DBName);
    bool IsSpExist(const QString& SpName);
    bool IsViewExist(const QString& ViewName);
    bool DropViewSafe(const QString& ViewName);

    // ---- Solar calendar
    QString ToFarsiDate(const QString& eng_date);
    QString ToEnglishDate(const QString& FarDate);
    QString ToEnglishDateForSQLServer(const QString& FarDate);
    QString ConvertDateFormat(const QString& St, const QString& OldFormat, const QString& NewFormat);
    bool IsKabise(int Sal);
    bool IsValidDate(const QString& St);
    QString CompleateDate(const QString& StToComp);
    bool IsValidTime(const QString& St);
    QString CompleateTime(const QString& St);
    QString NowTime();
    bool CheckTheTime(QLineEdit* Sender);
    bool CheckTheDate(QLineEdit* Sender, da::Table* InTable);
    int DaySubDate(const QString& Date1, const QString& Date2, bool ReturnMinuse);
    int DaySubDateWithOutCheckDate(const QString& Date1, const QString& Date2, bool ReturnMinuse);
    QString NDayFromDate(const QString& FarDate, int N);
    QString SubDate(const QString& Date1, const QString& Date2);
    QString DaysToDateSpell(const QString& Days);
    QString ConvertDayToMonthDay(const QString& St);
    int DateToInt(const QString& St);
    QString ConvetToDateCompare(const QString& St);
    double SubTime(const QString& Time1, const QString& Time2);
    QString NMinFromTime(const QString& InTime, const QString& N);

    // ---- Connection discovery
    void FindConStr(QString& InUser, QString& InPass, QString& InServer, QString& InDatabase);
    QString FindXOR(const QString& St);
    QString FindXORSimple(const QString& St);

    // ---- Input, list and folder dialogs
    // Modal one-value queries built at the call: true only when the user accepted a
    // non-empty input, and then Value holds it as typed; on false Value is unchanged.
    bool InQuery(const QString& APrompt, QString& Value);
    bool InQueryEng(const QString& APrompt, QString& Value);
    bool InQueryCombo(const QString& APrompt, const QStringList& InSL, QString& Value);
    bool PassInQuery(const QString& APrompt, QString& Value);
    // A choice among the first column of InCommand's rows on ServerConnection.
    bool SelectFromList(const QString& APrompt, const QString& InCommand, QString& Value);
    // A folder chosen under Root (a folder) or from the desktop; false and an empty
    // Directory when cancelled.
    bool SelectDirectory(const QString& Caption, const QString& Root, QString& Directory);

private:
    bool UnLoaded = false;
    bool LastINIFound = false;
    QString m_today;  // today's solar date, kept from creation on
    void initToday();  // creation step: today's solar date from the system date
    QDate m_systemDate;
    std::unique_ptr<UserDialogs> m_ownDialogs;
    UserDialogs* m_dialogs = nullptr;
    std::unique_ptr<da::Connection> m_ownServerConnection;
    std::unique_ptr<da::Connection> m_ownMulticonnection;
    std::unique_ptr<da::Query> m_ownMultiQAsk;

    friend class TMessageBoardForm;
};

// Program-wide references, each set before its object's creation steps run.
extern TTools* Tools;
