#include "platform/form.h"

#include <algorithm>
#include <exception>

#include "platform/controls/grid.h"
#include "platform/failure.h"

namespace wb {

Form::Form(std::string name) : name_(std::move(name)) {}

void Form::changed() {
    for (const auto& o : observers_) o();
}

void Form::add(Control* c) {
    controls_.push_back(c);
    byName_.emplace(c->name(), c);
}

void Form::remove(Control* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    auto it = byName_.find(c->name());
    if (it != byName_.end() && it->second == c) byName_.erase(it);
    leaving_.erase(std::remove(leaving_.begin(), leaving_.end(), c), leaving_.end());
    if (focused_ == c) focused_ = nullptr;
}

Control* Form::find(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

void Form::moveFocus(Control* target) {
    const unsigned move = ++focusMoves_;  // a move made inside LostFocus wins
    if (target == focused_) return;
    Control* previous = focused_;
    std::exception_ptr failure;
    const bool leaving = std::find(leaving_.begin(), leaving_.end(), previous) != leaving_.end();
    if (previous && previous->LostFocus && !leaving) {
        leaving_.push_back(previous);
        try {
            previous->LostFocus();
        } catch (...) {
            failure = std::current_exception();
        }
        leaving_.erase(std::find(leaving_.begin(), leaving_.end(), previous));
        if (focusMoves_ != move) {
            if (failure) std::rethrow_exception(failure);
            return;
        }
    }
    // The focus moves even when LostFocus failed; the failure is reported after.
    focused_ = target;
    changed();
    if (target && keyInputDepth_ > 0) target->focusedByKeyboard();
    if (target && target->GotFocus) target->GotFocus();
    if (failure) std::rethrow_exception(failure);
}

void Form::tabForward(bool backwards) {
    std::vector<Control*> order;
    for (Control* c : controls_)
        if (c->takesFocus() && c->shownOnScreen() && c->usable()) order.push_back(c);
    if (order.empty()) return;
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex() < b->tabIndex(); });
    auto at = std::find(order.begin(), order.end(), focused_);
    Control* next;
    if (at == order.end()) {
        next = backwards ? order.back() : order.front();
    } else if (backwards) {
        next = at == order.begin() ? order.back() : *(at - 1);
    } else {
        next = at + 1 == order.end() ? order.front() : *(at + 1);
    }
    moveFocus(next);
}

namespace {
bool takesInput(const Control& c) { return c.usable() && c.shownOnScreen(); }
}  // namespace

void Form::userClick(Control& c) {
    dispatch([&] {
        if (!takesInput(c)) return;
        if (c.takesFocus()) moveFocus(&c);
        c.userClick();
    });
}

void Form::userDblClick(Control& c) {
    dispatch([&] {
        if (!takesInput(c)) return;
        if (c.takesFocus()) moveFocus(&c);
        if (c.DblClick) c.DblClick();
    });
}

void Form::userFocus(Control& c) {
    dispatch([&] {
        if (takesInput(c) && c.takesFocus()) moveFocus(&c);
    });
}

void Form::keyInput(const std::function<void()>& action) {
    ++keyInputDepth_;
    dispatch(action);
    --keyInputDepth_;
}

void Form::userKeyPress(Control& c, int keyAscii) {
    keyInput([&] {
        if (takesInput(c)) c.userKeyPress(keyAscii);
    });
}

void Form::userKeyDown(Control& c, int keyCode, int shift) {
    keyInput([&] {
        if (!takesInput(c)) return;
        if (keyCode == keys::kTab) {
            tabForward((shift & keys::kShiftMask) != 0);
            return;
        }
        c.userKeyDown(keyCode, shift);
    });
}

void Form::userTab(bool backwards) {
    keyInput([&] { tabForward(backwards); });
}

void Form::userCellClick(Grid& g, int row, int col) {
    dispatch([&] {
        if (!takesInput(g)) return;
        moveFocus(&g);
        g.userMoveTo(row, col);
        g.userClick();
    });
}

void Form::dispatch(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        ++containedFailures_;
        lastFailure_ = "Run-time error '" + std::to_string(e.number()) + "': " + e.what();
    } catch (const std::exception& e) {
        ++containedFailures_;
        lastFailure_ = e.what();
    } catch (...) {
        ++containedFailures_;
        lastFailure_ = "Unknown failure";
    }
}

}  // namespace wb
