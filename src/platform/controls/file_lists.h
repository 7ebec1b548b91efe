#pragma once
// The drive list (mounted volumes) and the folder list (one folder tree, opened by
// double-click), as the data-path panel uses them. Paths join with "/".
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace wb {

class DriveList : public Control {
public:
    using Control::Control;
    bool takesFocus() const override { return true; }
    // The mounted volumes, read from the system when first asked.
    const std::vector<std::string>& drives() const;
    const std::string& drive() const { return drive_; }
    void setDrive(const std::string& d);  // raises Change when it changes
    std::function<void()> Change;

private:
    std::string drive_ = "/";
    mutable std::vector<std::string> drives_;
};

class DirList : public Control {
public:
    using Control::Control;
    bool takesFocus() const override { return true; }
    const std::string& path() const { return path_; }
    // Fails with 76 (path not found) for a folder that does not exist.
    void setPath(const std::string& p);
    // The sub-folders of the open folder, sorted.
    std::vector<std::string> subFolders() const;
    std::function<void()> Change;

private:
    std::string path_ = "/";
};

}  // namespace wb
