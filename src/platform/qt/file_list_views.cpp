#include "platform/qt/file_list_views.h"

#include <QStyle>
#include <QWheelEvent>

#include "platform/qt/form_window.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/view_common.h"

namespace wb {

DriveListView::DriveListView(FormWindow& window, DriveList& model, QWidget* parent)
    : QComboBox(parent), window_(window), model_(model) {
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int index) { chosen(index); });
    follow(model_, this);
}

void DriveListView::sync() {
    syncCommon(*this, model_, QPalette::Text);
    const auto& drives = model_.drives();
    bool same = count() == static_cast<int>(drives.size());
    for (int i = 0; same && i < count(); ++i) same = itemText(i) == toQString(drives[i]);
    if (!same) {
        clear();
        for (const auto& d : drives) addItem(toQString(d));
    }
    const int index = findText(toQString(model_.drive()));
    if (index < 0) {
        addItem(toQString(model_.drive()));
        setCurrentIndex(count() - 1);
    } else if (currentIndex() != index) {
        setCurrentIndex(index);
    }
}

void DriveListView::wheelEvent(QWheelEvent* event) { event->ignore(); }

void DriveListView::chosen(int index) {
    const std::string drive = fromQString(itemText(index));
    Form& form = window_.form();
    DriveList& list = model_;
    const bool attached = window_.deliver([&] {
        form.userFocus(list);
        form.dispatch([&] { list.setDrive(drive); });
    });
    if (attached) sync();  // a refused choice shows the model's drive again
}

std::vector<FolderEntry> folderEntries(const std::string& path, const std::vector<std::string>& subFolders) {
    std::vector<FolderEntry> entries;
    entries.push_back({"/", "/", 0, true});
    std::string sofar;
    int depth = 0;
    std::size_t start = 1;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) {
            const std::string part = path.substr(start, end - start);
            sofar += "/" + part;
            entries.push_back({sofar, part, ++depth, true});
        }
        start = end + 1;
    }
    const std::string base = path == "/" ? "" : path;
    for (const auto& name : subFolders) entries.push_back({base + "/" + name, name, depth + 1, false});
    return entries;
}

DirListView::DirListView(FormWindow& window, DirList& model, QWidget* parent)
    : QListWidget(parent), window_(window), model_(model) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { opened(item); });
    connect(this, &QListWidget::itemPressed, this, [this](QListWidgetItem*) {
        Form& form = window_.form();
        DirList& list = model_;
        window_.deliver([&] { form.userFocus(list); });
    });
    follow(model_, this);
}

void DirListView::sync() {
    syncCommon(*this, model_, QPalette::Text);
    if (shownPath_ == model_.path() && count() > 0) return;
    shownPath_ = model_.path();
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QListWidgetItem* current = nullptr;
    for (const FolderEntry& e : folderEntries(shownPath_, model_.subFolders())) {
        auto* item = new QListWidgetItem(e.open ? openIcon : closedIcon,
                                         QString(e.depth * 2, QLatin1Char(' ')) + toQString(e.label), this);
        item->setData(Qt::UserRole, toQString(e.path));
        if (e.open) current = item;
    }
    if (current) {
        setCurrentItem(current);
        scrollToItem(current);
    }
}

void DirListView::opened(QListWidgetItem* item) {
    if (!item) return;
    const std::string path = fromQString(item->data(Qt::UserRole).toString());
    Form& form = window_.form();
    DirList& list = model_;
    const bool attached = window_.deliver([&] {
        form.userFocus(list);
        form.dispatch([&] { list.setPath(path); });
    });
    if (attached) {
        shownPath_.clear();  // the folder may have changed on disk
        sync();
    }
}

}  // namespace wb
