#include "toolkit/tools.h"

#include "connection/credentialsfile.h"
#include "connection/discoveryhooks.h"
#include "connection/multiuserform.h"
#include "connection/scrambling.h"
#include "dataaccess/sqlquote.h"
#include "dataaccess/ui/connectdialog.h"
#include "platform/appexit.h"

#include <QFileInfo>
#include <QListWidget>

namespace {

// Status of the process that ends because a single-customer installation has no
// credentials file: the same as a failed start-up of the headless mode.
constexpr int kNoCredentialsExitStatus = 2;

// Runs one statement on the catalogue query and leaves it on the first row.
void runCatalogueQuery(da::Query& query, const QString& statement) {
    query.close();
    query.clearSql();
    query.addSql(statement);
    query.open();
}

// The catalogue's connect dialog, made on first need when the toolkit has none, and owned
// by the toolkit form.
da::LoginPrompt* catalogueConnectDialog(TTools* tools) {
    if (!tools->MSConnectDialog2) {
        auto* dialog = new da::ConnectDialog(tools);
        dialog->setObjectName(QStringLiteral("MSConnectDialog2"));
        dialog->setCaptions(da::ConnectCaptions::program());
        tools->MSConnectDialog2 = dialog;
    }
    return tools->MSConnectDialog2;
}

std::optional<QString> chooseInSelectionWindow(TTools* owner, const QStringList& names) {
    if (!MultiUserForm)
        MultiUserForm = new TMultiUserForm(owner);
    MultiUserForm->RadioGroup1->clear();
    MultiUserForm->RadioGroup1->addItems(names);
    if (MultiUserForm->exec() != mrOk)
        return std::nullopt;
    return MultiUserForm->selectedText();
}

}  // namespace

void TTools::FindConStr(QString& InUser, QString& InPass, QString& InServer, QString& InDatabase) {
    if (!QFileInfo::exists(AppPath + QLatin1String(conn::kMultiUsersMarkerName))) {
        const QString credentials = AppPath + QLatin1String(conn::kCredentialsFileName);
        if (!QFileInfo::exists(credentials)) {
            conn::exitProcess(kNoCredentialsExitStatus);
            return;  // only reached when the exit is replaced (tests)
        }
        const da::ConnectParams params = conn::readCredentialsFile(credentials);
        InPass = params.password;
        InServer = params.server;
        InDatabase = params.database;
        InUser = params.user;
        return;
    }

    da::Connection& connection = *Multiconnection;
    try {
        SwitchToEnglish();
        connection.setConnectDialog(catalogueConnectDialog(this));
        connection.setLoginPrompt(true);
        const QString remembered = AppPath + QLatin1String(conn::kRememberedConnectionName);
        if (QFileInfo::exists(remembered)) {
            const da::ConnectParams params = conn::readRememberedConnection(remembered);
            connection.setServer(params.server);
            connection.setDatabase(params.database);
            connection.setUser(params.user);
            connection.setPassword(params.password);
            connection.setLoginPrompt(false);
        }
        connection.connect();
        da::ConnectParams inEffect;
        inEffect.server = connection.server();
        inEffect.database = connection.database();
        inEffect.user = connection.user();
        inEffect.password = connection.password();
        conn::writeRememberedConnection(remembered, inEffect);
        SwitchToFarsi();
    } catch (const std::exception&) {
        plat::requestEnd(true);
        return;
    }

    da::Query& ask = *MultiQAsk;
    ask.setConnection(&connection);
    runCatalogueQuery(ask, QStringLiteral("SELECT * FROM sysdatabases WHERE (name = 'Masters')"));
    if (ask.eof()) {
        plat::requestEnd(true);
        return;
    }

    try {
        connection.disconnect();
        connection.setLoginPrompt(false);
        connection.setDatabase(QStringLiteral("Masters"));
        connection.connect();
    } catch (const std::exception&) {
        plat::requestEnd(true);
        return;
    }

    runCatalogueQuery(ask, QStringLiteral("SELECT * FROM Masters Order By DName"));
    if (ask.eof()) {
        plat::requestEnd(true);
        return;
    }
    QStringList names;
    for (ask.first(); !ask.eof(); ask.next())
        names << ask.fieldByName(QStringLiteral("DName")).asString();

    const conn::CustomerChooser& chooser = conn::customerChooser();
    const std::optional<QString> chosen = chooser ? chooser(names) : chooseInSelectionWindow(this, names);
    if (!chosen) {
        plat::requestEnd(true);
        return;
    }

    runCatalogueQuery(ask, QStringLiteral("SELECT * FROM Masters Where DName=") + da::sqlString(*chosen));
    InPass = ask.fieldByName(QStringLiteral("SPass")).asString();
    InServer = ask.fieldByName(QStringLiteral("SName")).asString();
    InDatabase = ask.fieldByName(QStringLiteral("EngDName")).asString();
    InUser = QStringLiteral("sa");
}

QString TTools::FindXOR(const QString& St) { return conn::positionScramble(St); }

QString TTools::FindXORSimple(const QString& St) { return conn::simpleScramble(St); }
