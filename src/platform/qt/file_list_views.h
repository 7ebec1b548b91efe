#pragma once
// The drive list (a combo box of the mounted volumes) and the folder list (the
// open folder's ancestors, the folder itself and its sub-folders; a
// double-click opens one). A choice goes to the model, which decides.
#include <QComboBox>
#include <QListWidget>

#include "platform/controls/file_lists.h"
#include "platform/qt/view_common.h"

namespace wb {

class FormWindow;

class DriveListView : public QComboBox, public ControlView {
public:
    DriveListView(FormWindow& window, DriveList& model, QWidget* parent);
    void sync() override;

protected:
    // The wheel would change the shown drive behind the model's back.
    void wheelEvent(QWheelEvent* event) override;

private:
    void chosen(int index);
    FormWindow& window_;
    DriveList& model_;
};

// The entries the folder list shows for an open folder, each a full path with
// its depth: "/", its ancestors, the folder, then its sub-folders one deeper.
struct FolderEntry {
    std::string path;
    std::string label;
    int depth = 0;
    bool open = false;  // the folder itself or an ancestor
};
std::vector<FolderEntry> folderEntries(const std::string& path, const std::vector<std::string>& subFolders);

class DirListView : public QListWidget, public ControlView {
public:
    DirListView(FormWindow& window, DirList& model, QWidget* parent);
    void sync() override;

private:
    void opened(QListWidgetItem* item);
    FormWindow& window_;
    DirList& model_;
    std::string shownPath_;
};

}  // namespace wb
