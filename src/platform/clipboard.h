#pragma once
// The clipboard the text boxes cut, copy and paste through. Text is UTF-8 with
// "\n" line breaks. The Qt backend is the system clipboard; tests and the
// scenario runner use the one in memory.
#include <string>

namespace wb {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
};

class MemoryClipboard : public Clipboard {
public:
    std::string text() const override { return text_; }
    void setText(const std::string& text) override { text_ = text; }

private:
    std::string text_;
};

}  // namespace wb
