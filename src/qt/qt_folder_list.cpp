// The folder list's lines: one per folder from the root down, then the folders inside the one
// chosen, named folders before hidden ones, each group in caseless order.
#include "qt/qt_folder_list.h"

#include <QDir>
#include <QHeaderView>
#include <QStyle>

namespace tolvane::qt {

namespace {

constexpr int kPathRole = Qt::UserRole;

// Under another line, or at the top of the list.
template <class Parent>
QTreeWidgetItem* line(Parent* parent, const QString& name, const QString& path, const QIcon& icon) {
    auto* item = new QTreeWidgetItem(parent, QStringList{name});
    item->setData(0, kPathRole, path);
    item->setIcon(0, icon);
    return item;
}

}  // namespace

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIndentation(12);
}

QString FolderList::pathOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kPathRole).toString() : QString();
}

void FolderList::showFolder(const QString& path) {
    QString wanted = QDir::cleanPath(path);
    if (wanted == folder_ && topLevelItemCount() > 0) return;
    folder_ = wanted;
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QStringList parts = wanted.split('/', Qt::SkipEmptyParts);
    QTreeWidgetItem* current = line(this, QStringLiteral("/"), QStringLiteral("/"), open);
    QString soFar;
    for (const QString& part : parts) {
        soFar += '/' + part;
        current = line(current, part, soFar, open);
    }
    QDir dir(wanted);
    const QDir::Filters folders = QDir::Dirs | QDir::NoDotAndDotDot;
    const QStringList named = dir.entryList(folders, QDir::Name | QDir::IgnoreCase);
    QStringList hidden = dir.entryList(folders | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : named) hidden.removeAll(name);
    for (const QString& name : named + hidden) line(current, name, dir.filePath(name), closed);
    expandAll();
    // Letters typed in the new list look for a line of it, not go on with the last search. An
    // empty search moves to the next line, so the folder is marked after it.
    keyboardSearch(QString());
    setCurrentItem(current);
    // The folder above stays in sight, so that the way up is there to take.
    scrollToItem(current->parent() ? current->parent() : current, QAbstractItemView::PositionAtTop);
}

}  // namespace tolvane::qt
