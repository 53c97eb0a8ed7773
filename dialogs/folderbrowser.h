#pragma once
// The folder browser: a tree of folders under a browse root with a caption above it,
// from which only a folder can be chosen. A root that names a folder is the tree's one
// top item, so the user cannot leave it; without one the tree holds the whole file
// system and opens at the user's desktop folder.
#include <QDialog>
#include <QPointer>
#include <QString>
#include <vector>

class QFileSystemModel;
class QLabel;
class QModelIndex;
class QPushButton;
class QSortFilterProxyModel;
class QTreeView;

// The user's desktop folder; the home folder where there is no desktop folder.
QString desktopFolder();

class TFolderBrowser : public QDialog {
    Q_OBJECT
public:
    TFolderBrowser(const QString& caption, const QString& root, QWidget* parent = nullptr);

    // Shows the browser modally with the program's other windows disabled; true with
    // the chosen folder (native separators), false with an empty text otherwise.
    bool choose(QString& directory);

    // The tree's top folder ("/" for the whole file system) and the folder it opens at.
    QString browseRoot() const { return m_root; }
    QString startFolder() const { return m_start; }
    // The folder under the cursor; empty when there is none.
    QString currentFolder() const;
    // The index of a folder in the tree, invalid when it is not in it.
    QModelIndex indexOf(const QString& folder) const;

    QLabel* captionLabel() const { return m_caption; }
    QTreeView* tree() const { return m_tree; }
    QFileSystemModel* fileSystem() const { return m_fs; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void openAt(const QString& folder);

    QString m_root;
    QString m_start;
    QFileSystemModel* m_fs = nullptr;
    QSortFilterProxyModel* m_proxy = nullptr;
    QLabel* m_caption = nullptr;
    QTreeView* m_tree = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

// Disables every visible, enabled top-level window but one for its lifetime and
// enables them again when it ends, also when an exception passes.
class OtherWindowsDisabled {
public:
    explicit OtherWindowsDisabled(const QWidget* keep);
    ~OtherWindowsDisabled();
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

private:
    std::vector<QPointer<QWidget>> m_disabled;
};
