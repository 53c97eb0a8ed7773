#include "tools.h"

#include "toolkit/qtdialogs.h"

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

    m_ownMulticonnection = std::make_unique<da::Connection>();
    m_ownMulticonnection->setDatabase(QStringLiteral("master"));
    Multiconnection = m_ownMulticonnection.get();
    m_ownMultiQAsk = std::make_unique<da::Query>(Multiconnection);
    MultiQAsk = m_ownMultiQAsk.get();

    FormCreate(this);
}

TTools::~TTools() {
    if (Tools == this)
        Tools = nullptr;
}
