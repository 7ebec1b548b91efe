#pragma once
// Work that waits until a window is on screen: run from the event loop once
// the window has first been painted.
#include <QWidget>
#include <functional>

namespace wb {

// Runs `then` once, from the event loop, after the top-level `window` has been
// exposed and painted: at once (after a repaint) when it is already exposed,
// else after its first exposure. Nothing runs if the window goes first.
void whenPainted(QWidget& window, std::function<void()> then);

}  // namespace wb
