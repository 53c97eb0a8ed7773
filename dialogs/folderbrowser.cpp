#include "folderbrowser.h"

#include "dialogs/dialogunits.h"
#include "dialogs/dialogwindow.h"
#include "dialogs/inputtexts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QString cleanAbsolute(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

// The folder that holds root; "" above the file system's root.
QString parentOf(const QString& root) { return root == QLatin1String("/") ? QString() : QFileInfo(root).path(); }

// Hides the root's siblings, so that the root is the tree's one top item.
class RootOnly : public QSortFilterProxyModel {
public:
    RootOnly(const QString& root, QObject* parent) : QSortFilterProxyModel(parent), m_root(root), m_rootParent(parentOf(root)) {}

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* fs = static_cast<const QFileSystemModel*>(sourceModel());
        if (fs->filePath(parent) != m_rootParent)
            return true;
        return fs->filePath(fs->index(row, 0, parent)) == m_root;
    }

private:
    QString m_root;
    QString m_rootParent;
};

}  // namespace

QString desktopFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir())
        return cleanAbsolute(desktop);
    return cleanAbsolute(QDir::homePath());
}

TFolderBrowser::TFolderBrowser(const QString& caption, const QString& root, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FolderBrowser"));
    makeFixedDialog(*this);
    setWindowTitle(QGuiApplication::applicationDisplayName());
    setFont(dialogFont());
    // On the desktop of the other platform every folder lies below the desktop; here
    // the whole file system stands for it.
    if (!root.isEmpty() && QFileInfo(root).isDir()) {
        m_root = cleanAbsolute(root);
        m_start = m_root;
    } else {
        m_root = QStringLiteral("/");
        m_start = desktopFolder();
    }

    m_fs = new QFileSystemModel(this);
    m_fs->setReadOnly(true);
    m_fs->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);  // folders only
    m_fs->setRootPath(m_root);
    m_proxy = new RootOnly(m_root, this);
    m_proxy->setSourceModel(m_fs);
    m_proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->sort(0);

    m_caption = new QLabel(caption, this);
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_caption->setTextFormat(Qt::PlainText);
    m_caption->setWordWrap(true);
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("FolderTree"));
    m_tree->setModel(m_proxy);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_fs->columnCount(); ++column)
        m_tree->hideColumn(column);
    m_tree->setRootIndex(m_proxy->mapFromSource(m_fs->index(parentOf(m_root))));
    m_ok = new QPushButton(inputtexts::kOkCaption, this);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(inputtexts::kCancelCaption, this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { m_ok->setEnabled(current.isValid()); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
    // The size of the platform's browser, from the face's width alone: a face that is
    // tall for its width would make it taller than the screen.
    const DialogUnits u = measureDialogUnits(font());
    setFixedSize(u.x(212), u.x(236));
    centreOnScreen(*this);
    m_ok->setEnabled(false);
    // The folders are read in the background: the ones on the way to the start folder
    // are opened again as their rows come in (a folder without rows does not open).
    connect(m_proxy, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent) {
        const QString path = m_fs->filePath(m_proxy->mapToSource(parent));
        if (!path.isEmpty() && (path == m_start || m_start.startsWith(path.endsWith(u'/') ? path : path + u'/')))
            m_tree->expand(parent);
    });
    openAt(m_start);
}

QModelIndex TFolderBrowser::indexOf(const QString& folder) const {
    const QString path = cleanAbsolute(folder);
    if (path != m_root && !path.startsWith(m_root == QLatin1String("/") ? m_root : m_root + u'/'))
        return {};
    return m_proxy->mapFromSource(m_fs->index(path));
}

void TFolderBrowser::openAt(const QString& folder) {
    const QModelIndex index = indexOf(folder);
    if (!index.isValid())
        return;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        m_tree->expand(up);
    m_tree->expand(index);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
}

// The keyboard starts in the tree.
void TFolderBrowser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_tree->setFocus();
}

QString TFolderBrowser::currentFolder() const {
    const QModelIndex current = m_tree->currentIndex();
    if (!current.isValid())
        return {};
    return QDir::toNativeSeparators(m_fs->filePath(m_proxy->mapToSource(current)));
}

bool TFolderBrowser::choose(QString& directory) {
    directory.clear();
    int result = QDialog::Rejected;
    {
        OtherWindowsDisabled disabled(this);
        result = runModal(*this);
    }
    if (result != QDialog::Accepted)
        return false;
    directory = currentFolder();
    return !directory.isEmpty();
}

OtherWindowsDisabled::OtherWindowsDisabled(const QWidget* keep) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != keep && w->isVisible() && w->isEnabled()) {
            w->setEnabled(false);
            m_disabled.emplace_back(w);
        }
    }
}

OtherWindowsDisabled::~OtherWindowsDisabled() {
    for (const QPointer<QWidget>& w : m_disabled) {
        if (w)
            w->setEnabled(true);
    }
}
