#pragma once
// The toolkit form: one never-shown form that carries the shared components and the
// toolkit's public operations under their established names. It holds the shared state
// and forwards to small units; each subsystem defines its members in its own folder
// (calendar/toolscalendar.cpp, connection/toolsconnection.cpp, ...).
#include "dataaccess/connection.h"
#include "dataaccess/query.h"
#include "dataaccess/table.h"
#include "dataaccess/ui/dbmemo.h"
#include "widgets/datasource.h"
#include "toolkit/userdialogs.h"

#include "widgets/appinfo.h"
#include "widgets/processinfo.h"

#include <QDate>
#include <QListWidget>
#include <QIcon>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <memory>

class AdoQuery;
class QLineEdit;
class QSystemTrayIcon;
class TMessageBoardForm;
namespace desk {
class Bitmap;
class JpegImage;
}  // namespace desk
class TSolarMonthCalendar;  // date picker and month calendar

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

    // ---- Pictures, files, network name and the speaker
    // Pictures: the caller owns what is handed back; loading errors are raised as
    // desk::PictureError. ReduceJpgSize answers whether it wrote OutFileName: false, with
    // nothing written, when the input is no readable JPEG; a failed write is raised.
    std::unique_ptr<desk::JpegImage> ConvertBMP2JPG(const QString& FileName);
    std::unique_ptr<desk::Bitmap> ConvertJPG2BMP(const QString& FileName);
    bool ReduceJpgSize(const QString& InFileName, const QString& OutFileName, quint16 ToW, quint16 ToH);
    bool LoadJpegIntoBitmap(const QString& FileName, desk::Bitmap& Bmp);
    void SaveBitmapAsJpeg(const desk::Bitmap& Bmp, const QString& FileName);
    void ResampleBilinear(const desk::Bitmap& Source, desk::Bitmap& Target);
    // Files: FileCopy raises desk::FileError once the source is open; DelDir deletes
    // permanently without asking.
    void ChangeWallpaper(const QString& bitmap);
    bool FileCopy(const QString& FName, const QString& ToName);
    bool DelDir(const QString& dir);
    // Network identity.
    bool GetIPFromHost(QString& HostName, QString& IPaddr, QString& WSAErr);
    QString GetComputerNameX();
    // The speaker: the tone call on the NT family, the timer and speaker ports otherwise.
    void Sound(int aFreq, int aDelay);
    void NoSound();
    void WarningSound();
    void SpeakerTone(quint16 freq);
    void TickDelay(int ms);
    void PortWrite(quint16 Port, int Value);
    quint8 PortRead(quint16 Port);
    // ---- Date picker and the month calendar
    // The month calendar on the form (never shown): ToEnglishDate converts through it.
    TSolarMonthCalendar* SolarMonthCalendar1 = nullptr;
    // Opens the picker on the edit's date (today when it holds none); OK writes the pick back.
    void PickDateFromDate(QLineEdit* Sender);
    void PickDateFromDateOld(QLineEdit* Sender);  // does nothing
    // ---- Launching programs, finding windows, system and version reports
    TProcessInfo* ProcessInfo1 = new TProcessInfo(this);
    TAppInfo* AppInfo1 = new TAppInfo(this);
    QListWidget* CTILIst = new QListWidget(this);  // never shown; EnumWindowsProc appends to it
    void OPenUrl(const QString& URL);
    void ExecuteFile(const QString& FileName);
    void ExecuteFilePara(const QString& FileName, const QString& Para);
    bool ExecAndWait(const QString& FileName, const QString& Params);
    quint32 GetFileHandle(const QString& FileName);
    bool EnumWindowsProc(quint32 Wnd, qintptr lParam);
    void CTrayIDblClick(QObject* Sender);
    void CTIPopupPopup(QObject* Sender);
    void VersionShow();
    void GetSystemPeroperties();
    void ShowTimes();
    QString GetVersion();
    void ShowSystemInformation();
    // ---- Registry, start-up programs, file associations and shortcuts
    // Registry errors (plat::reg::RegistryError) and profile-file errors
    // (plat::ProfileError) reach the caller.
    QString ReadRegistery(const QString& Key, const QString& Section, const QString& Item, const QString& DefValue);
    void WriteRegistery(const QString& Key, const QString& Item, const QString& Value);
    void ClearRegistery(const QString& Key);
    void ShowStartupProgram();
    bool IsThisProgramInStartUp(const QString& NameAndPath);
    void AddToStartupProgram(const QString& ProgTitle, const QString& ProgNameAndPath);
    QString DeskTopPath();
    QString StartupPath();
    QString GetFileAssociate(const QString& Ext);
    void SetFileAssociate(const QString& Ext, const QString& FileType);
    void CreateLink(const QString& Target, const QString& Args, const QString& WorkDir, const QString& ShortCutName);
    void CreateInternetShortcut(const QString& FileName, const QString& LocationURL);
    QIcon ExportIcon(const QString& St);  // a null icon when the file has none
    // ---- Database services: script runner, readers, settings table, aggregates, pick lists
    bool DoScriptFromfile(const QString& Title, const QString& FName);
    bool DoSqlAndReturnParameters(const QString& SqlSt);
    int DoSqlForCreateList(const QString& SqlSt, QStringList& It);
    QString SQLVer(da::Connection* InConct);
    void WriteInformation(const QString& Section, const QString& KeyName, const QString& KeyValue,
                          const QString& Discription);
    void ReadInformation(const QString& Section, const QString& KeyName, QString& KeyValue);
    QString FReadInformation(const QString& Section, const QString& KeyName);
    double SumOfField(da::Table* InTable, const QString& InFld, const QString& WhereCondition);
    double SumAndMulti(da::Table* InTable, const QString& InFld1, const QString& InFld2, const QString& Condition);
    void FillListWithData(QStringList& CItems, const QString& TableName, const QString& FieldName,
                          const QString& WhereCondition);
    void FillListWithDataBDistinct(QStringList& CItems, const QString& TableName, const QString& FieldName,
                                   const QString& WhereCondition);
    // A new query owned by the caller, neither opened nor prepared.
    std::unique_ptr<AdoQuery> MsQuery2AdoQuery(da::Query* InMsQ);
    // ---- Stored SQL command catalogue and saved form defaults
    // The catalogue table is opened by the first catalogue operation after the connection
    // is up and then kept open, never re-read; FreeDBMemo (hidden) carries an entry's text
    // while FreeDataSource binds it to the table for one operation.
private:
    std::unique_ptr<da::Query> m_ownQSqlCmd = std::make_unique<da::Query>();
    std::unique_ptr<da::Table> m_ownTSqlCommands = std::make_unique<da::Table>(nullptr, QStringLiteral("SqlCommands"));

public:
    da::Query* QSqlCmd = m_ownQSqlCmd.get();
    da::Table* TSqlCommands = m_ownTSqlCommands.get();
    TDataSource* FreeDataSource = new TDataSource(this);
    da::DBMemo* FreeDBMemo = new da::DBMemo(this);
    void OPenSqlCommands();
    bool SQlCmdFind(const QString& Sec, const QString& Titr);
    bool SQlCmdWriteStringList(const QString& Sec, const QString& Titr, const QStringList& Commands);
    QStringList SQlCmdReadOneWriteStringList(const QString& Sec, const QString& Titr);
    QString SQlCmdReadOne(const QString& Sec);
    QStringList SQlCmdReadAndCreatStoreProce(const QString& Sec);
    // Files "ini/1NAME.Ini" (template) and "ini/NAME.Ini" under AppPath, NAME the form's
    // object name; file errors raise std::runtime_error.
    void SaveTempleateForDef(QWidget* Sender);
    void SaveDef(QWidget* Sender);
    void LoadDef(QWidget* Sender);
    void LoadDefField(da::Table* TableName, const QString& IniFileName);
    void SaveDefField(da::Table* TableName, const QString& IniFileName);
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
    QString m_today;   // today's solar date, kept from creation on
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
