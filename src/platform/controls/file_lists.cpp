#include "platform/controls/file_lists.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/failure.h"

namespace fs = std::filesystem;

namespace wb {

namespace {
constexpr int kDeviceUnavailable = 68;

// /proc/mounts writes blanks and a few other characters as \ooo.
std::string unescapeMountPoint(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool octal = s[i] == '\\' && i + 3 < s.size() &&
                           std::all_of(s.begin() + i + 1, s.begin() + i + 4,
                                       [](char ch) { return ch >= '0' && ch <= '7'; });
        if (octal) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// A volume the user keeps files on: a block device or a network share.
bool isRealFilesystem(const std::string& device, const std::string& type) {
    static const std::set<std::string> network = {"nfs", "nfs4", "cifs", "smb3", "smbfs",
                                                  "fuse.sshfs", "9p", "virtiofs"};
    return device.rfind("/dev/", 0) == 0 || network.count(type) > 0;
}

std::vector<std::string> mountedVolumes() {
    std::vector<std::string> volumes{"/"};
    std::ifstream mounts("/proc/mounts");
    std::string line;
    while (std::getline(mounts, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (!(fields >> device >> mountPoint >> type)) continue;
        mountPoint = unescapeMountPoint(mountPoint);
        if (!isRealFilesystem(device, type)) continue;
        if (std::find(volumes.begin(), volumes.end(), mountPoint) == volumes.end())
            volumes.push_back(mountPoint);
    }
    std::sort(volumes.begin() + 1, volumes.end());
    return volumes;
}

bool isFolder(const std::string& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

std::string currentFolder() {
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    return ec ? std::string("/") : cwd.string();
}

// Absolute, normalised, no trailing "/" except for the root.
std::string normalise(const std::string& p) {
    fs::path path(p);
    if (path.is_relative()) path = fs::path(currentFolder()) / path;
    std::string s = path.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
}
}  // namespace

DriveList::DriveList(Form& form, std::string name) : Control(form, std::move(name)) {
    drive_ = driveOf(currentFolder());
}

const std::vector<std::string>& DriveList::drives() const {
    if (drives_.empty()) drives_ = mountedVolumes();
    return drives_;
}

std::string DriveList::driveOf(const std::string& path) const {
    const std::string p = normalise(path);
    std::string best = "/";
    for (const auto& d : drives()) {
        const bool inside = p == d || (p.rfind(d, 0) == 0 && p.size() > d.size() && p[d.size()] == '/');
        if (inside && d.size() > best.size()) best = d;
    }
    return best;
}

void DriveList::setDrive(const std::string& d) {
    if (d == drive_) return;
    if (!isFolder(d)) throw RuntimeError(kDeviceUnavailable, "Device unavailable");
    drive_ = d;
    changed();
    if (Change) Change();
}

DirList::DirList(Form& form, std::string name) : Control(form, std::move(name)) {
    path_ = normalise(currentFolder());
}

void DirList::setPath(const std::string& p) {
    if (p.empty()) throw RuntimeError(kPathNotFound, "Path not found");
    const std::string next = normalise(p);
    if (!isFolder(next)) throw RuntimeError(kPathNotFound, "Path not found");
    if (next == path_) return;
    path_ = next;
    changed();
    if (Change) Change();
}

std::vector<std::string> DirList::subFolders() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(path_, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.empty() || name[0] == '.' || !it->is_directory(typeError)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace wb
