#pragma once
// The immutable flag of a file or folder: even root cannot write one so
// marked, the stand-in for a file or a file system made read-only while the
// program runs.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <string>

namespace wb::testing {

// Sets or clears the immutable flag; false where the system does not allow it.
inline bool setImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

// The immutable flag on a file or folder while this lives, or until release().
class Immutable {
public:
    explicit Immutable(std::string path) : path_(std::move(path)), set_(setImmutable(path_, true)) {}
    ~Immutable() { release(); }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool isSet() const { return set_; }
    void release() {
        if (set_) setImmutable(path_, false);
        set_ = false;
    }

private:
    std::string path_;
    bool set_;
};

}  // namespace wb::testing
