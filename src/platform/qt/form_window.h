#pragma once
// A window per form: it shows the form's controls through their views and
// forwards the user's input to the models. The window follows the form's
// caption, client size, visibility, focus and mouse pointer; every Timer of the
// form runs on a QTimer while it is enabled.
//
// The form is drawn at the view scale (qt_convert.h): the window opens at the
// scale in force. The splash window keeps that size; any other window can be
// resized and maximised, and its size sets the scale at which the whole form
// fills it, centred, in its own proportions. The focused control shows the
// focus as the style draws it after a keyboard move.
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/form.h"

namespace wb {

class TimerDriver;

struct FormWindowOptions {
    std::function<void()> onClose;     // the window's close box; without it the box does nothing
    std::function<void()> onActivate;  // the window becoming active
    bool splash = false;               // a frameless splash window
};

class FormWindow : public QWidget {
    Q_OBJECT
public:
    using Options = FormWindowOptions;
    explicit FormWindow(Form& form, Options options = {});
    ~FormWindow() override;

    Form& form() const { return form_; }
    // The widget that shows a control (null for controls without a view).
    QWidget* viewOf(const Control& c) const;

    // Runs one piece of user input against the models (handler failures are
    // contained), then lets the Qt focus follow. Returns false when the form was
    // unloaded meanwhile: the caller must not touch the models then.
    bool deliver(const std::function<void()>& input);

    // The form is being unloaded: stop following it and hide. The window can be
    // deleted later (deleteLater) even from inside one of its own events.
    void detach();
    bool attached() const { return !detached_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildViews();
    QWidget* buildView(Control& c);
    void watchKeys(QWidget* view, Control* c);
    void forwardKey(Control* c, const class QKeyEvent& event);
    void sync();
    void syncFocus();
    void syncCursor();
    void syncSize();
    // The form's client area in pixels at the view scale.
    QSize formPixels() const;
    // The scale at which the form fills the window; the views follow it.
    void fitScale();
    void placeCanvas();

    Form& form_;
    Options options_;
    bool detached_ = false;
    bool placed_ = false;
    bool hourglass_ = false;
    QWidget* canvas_ = nullptr;  // the form's client area; the views' parent
    QSize formTwips_;            // the client size the window was last sized for
    std::map<const Control*, QWidget*> views_;
    std::map<const QObject*, Control*> keyTargets_;
    std::vector<std::unique_ptr<TimerDriver>> timers_;
};

}  // namespace wb
