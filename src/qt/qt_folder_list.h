// How the front end shows a folder list: the folders from the root down to the one chosen, open,
// with the folders inside it below; a double click on a line enters that folder. Reads folder
// names only: it never creates, renames or deletes anything, and never changes the model.
#pragma once

#include <QString>
#include <QTreeWidget>

namespace tolvane::qt {

class FolderList : public QTreeWidget {
  public:
    explicit FolderList(QWidget* parent);

    // Lists the folders again when the folder differs from the one shown.
    void showFolder(const QString& path);
    // The folder a line stands for.
    static QString pathOf(const QTreeWidgetItem* item);

  private:
    QString folder_;
};

}  // namespace tolvane::qt
