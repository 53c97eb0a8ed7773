#include "tools.h"

#include "dataaccess/ui/connectdialog.h"
#include "toolkit/qtdialogs.h"
#include "widgets/solarmonthcalendar.h"

TTools* Tools = nullptr;

TTools::TTools(const ToolsOptions& options, QWidget* parent) : QWidget(parent) {
    Tools = this;
    setObjectName(QStringLiteral("Tools"));
    setWindowTitle(QStringLiteral("Tools"));
    if (options.dialogs) {
        m_dialogs = options.dialogs;
    } else {
        m_ownDialogs = makeQtDialogs(this);
        m_dialogs = m_ownDialogs.get();
    }
    AppPath = options.appPath;
    m_systemDate = options.systemDate;

    m_ownServerConnection = std::make_unique<da::Connection>();
    m_ownServerConnection->setDatabase(QStringLiteral("master"));
    m_ownServerConnection->setUser(QStringLiteral("sa"));
    m_ownServerConnection->setLoginPrompt(false);
    ServerConnection = m_ownServerConnection.get();

    // Both connect dialogs carry the catalogue server's captions; only the second is
    // linked to a connection.
    auto* dialog1 = new da::ConnectDialog(this);
    dialog1->setObjectName(QStringLiteral("MSConnectDialog1"));
    MSConnectDialog1 = dialog1;
    auto* dialog2 = new da::ConnectDialog(this);
    dialog2->setObjectName(QStringLiteral("MSConnectDialog2"));
    MSConnectDialog2 = dialog2;

    m_ownMulticonnection = std::make_unique<da::Connection>();
    m_ownMulticonnection->setDatabase(QStringLiteral("master"));
    m_ownMulticonnection->setConnectDialog(MSConnectDialog2);
    Multiconnection = m_ownMulticonnection.get();
    m_ownMultiQAsk = std::make_unique<da::Query>(Multiconnection);
    MultiQAsk = m_ownMultiQAsk.get();

    // The month calendar on the form: ToEnglishDate converts through it, and it marks
    // the toolkit's today.
    SolarMonthCalendar1 = new TSolarMonthCalendar(this);
    SolarMonthCalendar1->setObjectName(QStringLiteral("SolarMonthCalendar1"));
    SolarMonthCalendar1->hide();
    FormCreate(this);
    SolarMonthCalendar1->setToday(FarsiToday());
}

TTools::~TTools() {
    if (Tools == this)
        Tools = nullptr;
}
