#pragma once
// The system clipboard for the text boxes of the Qt windows.
#include "platform/clipboard.h"

namespace wb {

class QtClipboard : public Clipboard {
public:
    std::string text() const override;
    void setText(const std::string& text) override;
};

// The one system clipboard, for every window.
Clipboard& systemClipboard();

}  // namespace wb
