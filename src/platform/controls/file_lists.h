#pragma once
// The drive list (mounted volumes) and the folder list (one folder tree, opened by
// double-click), as the data-path panel uses them. Paths join with "/".
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace wb {

class DriveList : public Control {
public:
    // Starts on the volume that holds the current working folder.
    DriveList(Form& form, std::string name);
    bool takesFocus() const override { return true; }
    // The mounted volumes (mount points, "/" first), read from the system when first asked.
    const std::vector<std::string>& drives() const;
    const std::string& drive() const { return drive_; }
    // Raises Change when it changes; fails with 68 (device unavailable) for a
    // volume that is not an existing folder.
    void setDrive(const std::string& d);
    // The mounted volume that holds an absolute path ("/" when none is nearer).
    std::string driveOf(const std::string& path) const;
    std::function<void()> Change;

private:
    std::string drive_ = "/";
    mutable std::vector<std::string> drives_;
};

class DirList : public Control {
public:
    // Starts on the current working folder.
    DirList(Form& form, std::string name);
    bool takesFocus() const override { return true; }
    // Absolute, without a trailing "/" except for the root.
    const std::string& path() const { return path_; }
    // Opens a folder (a relative path is taken from the current working folder).
    // Fails with 76 (path not found) for a folder that does not exist; raises
    // Change when the open folder changes.
    void setPath(const std::string& p);
    // The sub-folders of the open folder, sorted; hidden (dot) folders left out.
    std::vector<std::string> subFolders() const;
    std::function<void()> Change;

private:
    std::string path_ = "/";
};

}  // namespace wb
