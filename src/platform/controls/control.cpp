#include "platform/controls/control.h"

#include <algorithm>

#include "platform/controls/panel.h"
#include "platform/failure.h"
#include "platform/form.h"

namespace wb {

Control::Control(Form& form, std::string name) : form_(form), name_(std::move(name)) {
    form_.add(this);
}

Control::~Control() {
    if (container_) {
        auto& siblings = container_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    form_.remove(this);
}

Panel::~Panel() {
    for (Control* child : children_) child->container_ = nullptr;
}

void Control::setContainer(Panel* panel) {
    if (panel == container_) return;
    if (container_) {
        auto& siblings = container_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    container_ = panel;
    if (panel) panel->children_.push_back(this);
    changed();
}

void Control::move(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed();
}

void Control::setVisible(bool v) {
    visible_ = v;
    changed();
}

void Control::setEnabled(bool e) {
    enabled_ = e;
    changed();
}

bool Control::shownOnScreen() const {
    for (const Control* c = this; c; c = c->container_)
        if (!c->visible_) return false;
    return form_.visible();
}

bool Control::usable() const {
    for (const Control* c = this; c; c = c->container_)
        if (!c->enabled_) return false;
    return form_.enabled();
}

void Control::setFont(const Font& f) {
    font_ = f;
    changed();
}

void Control::setForeColor(unsigned c) {
    foreColor_ = c;
    changed();
}

void Control::setBackColor(unsigned c) {
    backColor_ = c;
    changed();
}

bool Control::hasFocus() const { return form_.focused() == this; }

void Control::SetFocus() {
    if (!takesFocus() || !shownOnScreen() || !usable())
        throw RuntimeError(kInvalidCall, "Invalid procedure call or argument");
    form_.moveFocus(this);
}

void Control::userClick() {
    if (Click) Click();
}

void Control::userKeyPress(int keyAscii) { raiseKeyPress(keyAscii); }

void Control::userKeyDown(int keyCode, int shift) { raiseKeyDown(keyCode, shift); }

int Control::raiseKeyPress(int keyAscii) {
    if (KeyPress) KeyPress(keyAscii);
    return keyAscii;
}

int Control::raiseKeyDown(int keyCode, int shift) {
    if (KeyDown) KeyDown(keyCode, shift);
    return keyCode;
}

void Control::changed() {
    for (const auto& o : observers_) o();
}

}  // namespace wb
