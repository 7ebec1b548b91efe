#include "platform/qt/view_factory.h"

#include "platform/qt/button_views.h"
#include "platform/qt/file_list_views.h"
#include "platform/qt/grid_view.h"
#include "platform/qt/picture_view.h"
#include "platform/qt/simple_views.h"
#include "platform/qt/text_box_view.h"

namespace wb {

QWidget* makeView(FormWindow& window, Control& c, QWidget* parent) {
    if (auto* box = dynamic_cast<TextBox*>(&c)) {
        if (box->showsSeveralLines()) return new NotesBoxView(window, *box, parent);
        return new LineBoxView(window, *box, parent);
    }
    if (auto* grid = dynamic_cast<Grid*>(&c)) return new GridView(window, *grid, parent);
    if (auto* button = dynamic_cast<CommandButton*>(&c)) return new CommandButtonView(window, *button, parent);
    if (auto* check = dynamic_cast<CheckBox*>(&c)) return new CheckBoxView(window, *check, parent);
    if (auto* picture = dynamic_cast<PictureBox*>(&c)) return new PictureView(window, *picture, parent);
    if (auto* label = dynamic_cast<Label*>(&c)) return new LabelView(window, *label, parent);
    if (auto* panel = dynamic_cast<Panel*>(&c)) return new PanelView(window, *panel, parent);
    if (auto* drives = dynamic_cast<DriveList*>(&c)) return new DriveListView(window, *drives, parent);
    if (auto* folders = dynamic_cast<DirList*>(&c)) return new DirListView(window, *folders, parent);
    return nullptr;
}

}  // namespace wb
