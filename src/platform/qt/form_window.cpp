#include "platform/qt/form_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QScreen>

#include "platform/controls/check_box.h"
#include "platform/controls/command_button.h"
#include "platform/controls/panel.h"
#include "platform/controls/timer.h"
#include "platform/qt/key_translation.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/timer_driver.h"
#include "platform/qt/view_common.h"
#include "platform/qt/view_factory.h"
#include "platform/qt/view_style.h"
#include "platform/qt/window_scale.h"

namespace wb {

FormWindow::FormWindow(Form& form, Options options)
    : QWidget(nullptr, options.splash ? Qt::SplashScreen | Qt::FramelessWindowHint : Qt::Window),
      form_(form), options_(std::move(options)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_KeyboardFocusChange);
    setFocusPolicy(Qt::NoFocus);
    canvas_ = new QWidget(this);
    form_.setClipboard(&systemClipboard());
    buildViews();
    watchKeys(this, nullptr);
    form_.observe([p = QPointer<FormWindow>(this)] {
        if (p) p->sync();
    });
    sync();
}

FormWindow::~FormWindow() {
    if (hourglass_) QApplication::restoreOverrideCursor();
}

QWidget* FormWindow::viewOf(const Control& c) const {
    auto it = views_.find(&c);
    return it == views_.end() ? nullptr : it->second;
}

void FormWindow::buildViews() {
    for (Control* c : form_.controls()) {
        if (auto* t = dynamic_cast<Timer*>(c))
            timers_.push_back(std::make_unique<TimerDriver>(*this, *t));
        else
            buildView(*c);
    }
    // The models decide where the focus goes; Qt never moves it on its own.
    for (QWidget* w : findChildren<QWidget*>()) {
        w->setFocusPolicy(Qt::NoFocus);
        w->setStyle(viewStyle());
    }
}

QWidget* FormWindow::buildView(Control& c) {
    if (QWidget* existing = viewOf(c)) return existing;
    QWidget* parent = canvas_;
    if (Panel* panel = c.container()) {
        if (QWidget* panelView = buildView(*panel)) parent = panelView;
    }
    QWidget* view = makeView(*this, c, parent);
    if (!view) return nullptr;
    views_[&c] = view;
    watchKeys(view, &c);
    return view;
}

void FormWindow::watchKeys(QWidget* view, Control* c) {
    keyTargets_[view] = c;
    view->installEventFilter(this);
}

bool FormWindow::deliver(const std::function<void()>& input) {
    if (detached_) return false;
    input();
    if (detached_) return false;
    syncFocus();
    return true;
}

void FormWindow::detach() {
    if (detached_) return;
    detached_ = true;
    for (auto& t : timers_) t->stop();
    if (hourglass_) {
        QApplication::restoreOverrideCursor();
        hourglass_ = false;
    }
    hide();
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::InputMethod) return QWidget::eventFilter(watched, event);
    auto it = keyTargets_.find(watched);
    if (it == keyTargets_.end()) return QWidget::eventFilter(watched, event);
    if (type == QEvent::KeyPress) forwardKey(it->second, static_cast<const QKeyEvent&>(*event));
    return true;  // no widget edits or moves on its own
}

// Tab moves the focus; other keys are KeyDown, then KeyPress for a character,
// delivered to the control that has the focus by then. Space on a button or
// check box, and Enter on a button, click it.
void FormWindow::forwardKey(Control* c, const QKeyEvent& event) {
    const KeyStroke k = translateKey(event.key(), event.modifiers(), event.text());
    if (k.tab) {
        deliver([&] { form_.userTab(k.backwards); });
        return;
    }
    if (!c) return;
    const bool button = dynamic_cast<CommandButton*>(c) != nullptr;
    const bool clicks = (button || dynamic_cast<CheckBox*>(c)) &&
                        (k.keyCode == 32 || (button && k.keyCode == keys::kReturn)) && k.shift == 0;
    deliver([&] {
        Control* before = form_.focused();
        if (k.keyCode != 0) form_.userKeyDown(*c, k.keyCode, k.shift);
        if (clicks) {
            form_.userClick(*c);
            return;
        }
        if (k.keyAscii < 0) return;
        Control* after = form_.focused();
        form_.userKeyPress(after && after != before ? *after : *c, k.keyAscii);
    });
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (options_.onClose) deliver([&] { form_.dispatch(options_.onClose); });
}

void FormWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !detached_) {
        if (options_.onActivate) deliver([&] { form_.dispatch(options_.onActivate); });
        if (!detached_) syncFocus();
    }
}

void FormWindow::sync() {
    if (detached_) return;
    const QString caption = toQString(form_.caption());
    if (windowTitle() != caption) setWindowTitle(caption);
    syncSize();
    syncCursor();
    if (form_.visible() && !isVisible()) {
        if (!placed_) {
            placed_ = true;
            if (const QScreen* screen = QGuiApplication::primaryScreen())
                move(screen->availableGeometry().center() - rect().center());
        }
        show();
        raise();
        activateWindow();
    } else if (!form_.visible() && isVisible()) {
        hide();
    }
    syncFocus();
}

QSize FormWindow::formPixels() const {
    return QSize(twipsToPixels(form_.clientWidth()), twipsToPixels(form_.clientHeight()));
}

// A new client size of the form sizes the window at the scale in force.
void FormWindow::syncSize() {
    const QSize twips(form_.clientWidth(), form_.clientHeight());
    if (twips == formTwips_) return;
    formTwips_ = twips;
    const QSize pixels = formPixels();
    if (options_.splash) {
        setFixedSize(pixels);
    } else {
        setMinimumSize(pixels / 2);
        resize(pixels);
    }
    placeCanvas();
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitScale();
}

// A window the size of the form at the scale in force keeps that scale, so
// that pixel rounding does not move it.
void FormWindow::fitScale() {
    if (!options_.splash && size() != formPixels()) {
        const double scale = fittingScale(form_.clientWidth(), form_.clientHeight(), size());
        if (scale > 0 && scale != viewScale()) {
            setViewScale(scale);
            for (const auto& [control, view] : views_)
                if (auto* shown = dynamic_cast<ControlView*>(view)) shown->sync();
        }
    }
    placeCanvas();
}

void FormWindow::placeCanvas() {
    const QSize pixels = formPixels();
    const QRect area(QPoint((width() - pixels.width()) / 2, (height() - pixels.height()) / 2), pixels);
    if (canvas_->geometry() != area) canvas_->setGeometry(area);
}

void FormWindow::syncFocus() {
    if (detached_ || !isVisible()) return;
    // The style draws the focus as after a keyboard move, wherever it came from.
    if (!testAttribute(Qt::WA_KeyboardFocusChange)) setAttribute(Qt::WA_KeyboardFocusChange);
    Control* focused = form_.focused();
    QWidget* target = focused ? viewOf(*focused) : nullptr;
    if (!target) target = this;
    if (QApplication::focusWidget() != target || !target->hasFocus()) target->setFocus(Qt::OtherFocusReason);
}

// The hourglass is the application's override cursor while the form asks for it.
void FormWindow::syncCursor() {
    const bool busy = form_.mousePointer() == pointer::kHourglass;
    if (busy == hourglass_) return;
    hourglass_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace wb
