#include "platform/qt/form_windows.h"

namespace wb {

FormWindow& FormWindows::open(Form& form, FormWindowOptions options) {
    auto& window = windows_[&form];
    window = std::make_unique<FormWindow>(form, std::move(options));
    return *window;
}

void FormWindows::close(Form& form) {
    auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    FormWindow* window = it->second.release();
    windows_.erase(it);
    window->detach();
    window->deleteLater();
}

}  // namespace wb
