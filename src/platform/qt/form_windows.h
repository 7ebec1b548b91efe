#pragma once
// The windows of a program's forms: one FormWindow per form, made when the
// form's controls exist and let go when the form unloads.
#include <map>
#include <memory>

#include "platform/qt/form_window.h"

namespace wb {

class FormWindows {
public:
    ~FormWindows() { clear(); }

    FormWindow& open(Form& form, FormWindowOptions options);
    // The form is unloading, maybe from inside one of its window's own events:
    // the window stops following it now and goes away once the event is over.
    void close(Form& form);
    // The form's window; fails (std::out_of_range) when it has none.
    FormWindow& of(const Form& form) const { return *windows_.at(&form); }
    void clear() { windows_.clear(); }

private:
    std::map<const Form*, std::unique_ptr<FormWindow>> windows_;
};

}  // namespace wb
