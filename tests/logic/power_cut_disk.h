#pragma once
// A disk that can lose power, for tests: an SQLite VFS over the default one,
// registered as the default, that passes every write through to the real file
// but remembers, per file, what each sector held at its last sync; and a log
// of the folder entries made or removed since the folder was last synced.
//
// Sync points are numbered as they happen: each file sync through the VFS and
// each sync of a folder, which the test program reports (syncPoint("folder"),
// folderSynced(), and pathMade()/beforeRemove() for the folder entries that
// the program makes without the VFS). At the chosen sync point the power fails
// instead of the sync: every write since that file's last sync is dropped,
// kept, or torn (by page or by sector) as the pattern says, folder entries
// since the last folder sync are undone from some point on, and from then on
// every write, sync, read and delete fails, as on a machine that is off. After
// reboot() the files are as the cut left them, and the disk passes everything
// through until it is armed again.
//
// It can also fail a chosen I/O call instead, in the manner of SQLite's own
// I/O-error tests: failCall() makes the n-th write, sync, truncate, read or
// lock of the watched files fail with ENOSPC or EIO, reported to SQLite as
// the system's VFS reports it, either that one call alone or every call of
// that kind from then on until clearFault(). calls() counts them since arm().
//
// Only files below the folder given to arm() are watched.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace wb::testing {

enum class Tear { DropAll, KeepAll, RandomPages, RandomSectors };

enum class IoCall { Write, Sync, Truncate, Read, Lock };
enum class IoError { NoSpace, Io };  // ENOSPC, EIO

inline const char* ioCallName(IoCall c) {
    switch (c) {
    case IoCall::Write: return "write";
    case IoCall::Sync: return "sync";
    case IoCall::Truncate: return "truncate";
    case IoCall::Read: return "read";
    case IoCall::Lock: return "lock";
    }
    return "";
}

inline const char* ioErrorName(IoError e) { return e == IoError::NoSpace ? "ENOSPC" : "EIO"; }

inline const char* tearName(Tear t) {
    switch (t) {
    case Tear::DropAll: return "all dropped";
    case Tear::KeepAll: return "all kept";
    case Tear::RandomPages: return "random pages";
    case Tear::RandomSectors: return "torn sectors";
    }
    return "";
}

class PowerCutDisk {
public:
    static constexpr std::int64_t kSector = 512;
    static constexpr std::int64_t kPage = 4096;
    static constexpr int kNever = 0;

    static PowerCutDisk& instance() {
        static PowerCutDisk disk;
        return disk;
    }

    // Watches the files below `folder`; the power fails at sync point `cutAt`
    // (1 = the first; kNever: only when cutNow() is called).
    void arm(const std::string& folder, int cutAt, Tear tear, unsigned seed) {
        root_ = folder + "/";
        cutAt_ = cutAt;
        tear_ = tear;
        random_.seed(seed);
        syncs_ = 0;
        names_.clear();
        dead_ = false;
        armed_ = true;
        files_.clear();
        folderLog_.clear();
        calls_.clear();
        clearFault();
    }
    // The power fails now (when it has not yet).
    void cutNow() {
        if (armed_ && !dead_) cut();
    }
    // The machine starts again: files stay as the cut left them.
    void reboot() {
        armed_ = false;
        dead_ = false;
        files_.clear();
        folderLog_.clear();
    }
    bool dead() const { return dead_; }

    // The n-th call of `call` (from 1, counted since arm()) fails with `error`;
    // with `once` that call alone, else it and every later one of its kind
    // until clearFault().
    void failCall(IoCall call, int nth, IoError error, bool once) {
        fault_ = Fault{true, call, nth, error, once};
    }
    void clearFault() { fault_ = Fault{}; }
    int calls(IoCall call) const {
        auto found = calls_.find(call);
        return found == calls_.end() ? 0 : found->second;
    }
    // For the VFS, before a call on `path`: SQLITE_OK, or the code the
    // system's VFS gives for the failure chosen (ENOSPC on a write is a full
    // disk; any other failure an I/O error of that call).
    int callResult(IoCall call, const std::string& path) {
        if (!watches(path)) return SQLITE_OK;
        const int n = ++calls_[call];
        if (!fault_.set || fault_.call != call || n < fault_.nth || (fault_.once && n != fault_.nth)) return SQLITE_OK;
        switch (call) {
        case IoCall::Write: return fault_.error == IoError::NoSpace ? SQLITE_FULL : SQLITE_IOERR_WRITE;
        case IoCall::Sync: return SQLITE_IOERR_FSYNC;
        case IoCall::Truncate: return SQLITE_IOERR_TRUNCATE;
        case IoCall::Read: return SQLITE_IOERR_READ;
        case IoCall::Lock: return SQLITE_IOERR_LOCK;
        }
        return SQLITE_IOERR;
    }
    int syncPoints() const { return syncs_; }
    // What sync point n (from 1) of the last run synced.
    std::string syncPointName(int n) const {
        return n >= 1 && n <= static_cast<int>(names_.size()) ? names_[static_cast<std::size_t>(n - 1)] : "";
    }

    bool watches(const std::string& path) const { return armed_ && path.rfind(root_, 0) == 0; }

    // ---- what the VFS and the program's file calls report -----------------

    // Before bytes [offset, offset + size) of `path` are written or cut off;
    // the file is read through its own handle (another descriptor closed on
    // it would drop the process's locks on the file).
    void beforeChange(const std::string& path, std::int64_t offset, std::int64_t size, sqlite3_file* file) {
        if (!watches(path)) return;
        FileLog& log = files_[path];
        if (!log.started) {
            sqlite3_int64 now = 0;
            file->pMethods->xFileSize(file, &now);
            log.started = true;
            log.syncedSize = now;
        }
        for (std::int64_t s = offset / kSector; s * kSector < offset + size; ++s) {
            if (log.original.count(s)) continue;
            const std::int64_t start = s * kSector;
            const std::int64_t held = std::max<std::int64_t>(0, std::min(kSector, log.syncedSize - start));
            std::string bytes(static_cast<std::size_t>(held), '\0');
            if (held > 0) file->pMethods->xRead(file, bytes.data(), static_cast<int>(held), start);
            log.original[s] = bytes;
        }
    }
    // A sync point: of a file, or "folder". False when the power failed here
    // (the sync must fail).
    bool syncPoint(const std::string& what) {
        if (!armed_ || dead_) return !dead_;
        ++syncs_;
        const std::size_t slash = what.find_last_of('/');
        names_.push_back(slash == std::string::npos ? what : what.substr(slash + 1));
        if (syncs_ == cutAt_) {
            cut();
            return false;
        }
        return true;
    }
    void fileSynced(const std::string& path) {
        if (watches(path) && !dead_) files_.erase(path);
    }
    void folderSynced() {
        if (!dead_) folderLog_.clear();
    }
    void pathMade(const std::string& path) {
        if (watches(path)) folderLog_.push_back({path, false, {}, {}});
    }
    // Before `path` is removed: its bytes and unsynced writes go with the entry.
    void beforeRemove(const std::string& path) {
        if (!watches(path)) return;
        FolderEntry entry{path, true, readAll(path), {}};
        auto found = files_.find(path);
        if (found != files_.end()) {
            entry.log = found->second;
            files_.erase(found);
        }
        folderLog_.push_back(std::move(entry));
    }

private:
    struct FileLog {
        bool started = false;
        std::int64_t syncedSize = 0;
        std::map<std::int64_t, std::string> original;  // sector -> bytes at the last sync
    };
    struct FolderEntry {
        std::string path;
        bool removed;         // else made
        std::string content;  // of a removed file
        FileLog log;          // its writes not yet synced
    };

    static std::string readAll(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    bool coin() { return std::uniform_int_distribution<int>(0, 1)(random_) == 1; }

    // Which sectors of the log reached the disk.
    bool kept(std::int64_t sector, std::map<std::int64_t, bool>& pages) {
        switch (tear_) {
        case Tear::DropAll: return false;
        case Tear::KeepAll: return true;
        case Tear::RandomSectors: return coin();
        case Tear::RandomPages: {
            const std::int64_t page = sector * kSector / kPage;
            auto found = pages.find(page);
            if (found == pages.end()) found = pages.emplace(page, coin()).first;
            return found->second;
        }
        }
        return true;
    }

    // Puts back what the power cut lost of one file's unsynced writes: each
    // sector dropped holds its bytes of the last sync again (zeros where the
    // file had none); a cut-off end comes back or not as a whole; a grown end
    // stays only when one of its sectors did.
    void lose(const std::string& path, const FileLog& log) {
        if (!log.started || tear_ == Tear::KeepAll) return;
        const int fd = ::open(path.c_str(), O_RDWR);
        if (fd < 0) return;
        struct stat st {};
        ::fstat(fd, &st);
        const std::int64_t size = st.st_size;
        const bool truncated = size < log.syncedSize;
        const bool undoTruncation = truncated && (tear_ == Tear::DropAll || coin());
        std::map<std::int64_t, bool> pages;
        bool grownKept = false;
        for (const auto& [sector, bytes] : log.original) {
            const std::int64_t start = sector * kSector;
            bool keep = kept(sector, pages);
            if (truncated && start >= size) keep = !undoTruncation;
            if (keep) {
                if (start >= log.syncedSize) grownKept = true;
                continue;
            }
            std::string old = bytes;
            old.resize(static_cast<std::size_t>(kSector), '\0');
            (void)!::pwrite(fd, old.data(), old.size(), start);
        }
        std::int64_t finalSize = size;
        if (truncated) finalSize = undoTruncation ? log.syncedSize : size;
        else if (size > log.syncedSize && !grownKept) finalSize = log.syncedSize;
        (void)!::ftruncate(fd, finalSize);
        ::close(fd);
    }

    void cut() {
        dead_ = true;
        for (const auto& [path, log] : files_) lose(path, log);
        // Folder entries reach the disk in order: a prefix of them survives.
        std::size_t survive = folderLog_.size();
        if (tear_ == Tear::DropAll) survive = 0;
        else if (tear_ != Tear::KeepAll)
            survive = std::uniform_int_distribution<std::size_t>(0, folderLog_.size())(random_);
        for (std::size_t i = folderLog_.size(); i-- > survive;) {
            const FolderEntry& e = folderLog_[i];
            if (!e.removed) {
                ::unlink(e.path.c_str());
                continue;
            }
            std::ofstream(e.path, std::ios::binary | std::ios::trunc) << e.content;
            lose(e.path, e.log);
        }
    }

    struct Fault {
        bool set = false;
        IoCall call = IoCall::Write;
        int nth = 0;
        IoError error = IoError::Io;
        bool once = false;
    };

    std::string root_;
    bool armed_ = false;
    Fault fault_;
    std::map<IoCall, int> calls_;
    bool dead_ = false;
    int cutAt_ = kNever;
    int syncs_ = 0;
    std::vector<std::string> names_;
    Tear tear_ = Tear::DropAll;
    std::mt19937 random_;
    std::map<std::string, FileLog> files_;
    std::vector<FolderEntry> folderLog_;
};

// ---- the VFS ---------------------------------------------------------------

namespace power_cut_vfs {

struct File {
    sqlite3_file base;  // its methods: the ones below
    sqlite3_file* real;
    std::string* path;
};

inline sqlite3_vfs*& realVfs() {
    static sqlite3_vfs* real = nullptr;
    return real;
}

inline File* self(sqlite3_file* f) { return reinterpret_cast<File*>(f); }
inline PowerCutDisk& disk() { return PowerCutDisk::instance(); }
inline bool off(sqlite3_file* f) { return disk().dead() && disk().watches(*self(f)->path); }

inline int xClose(sqlite3_file* f) {
    File* file = self(f);
    const int rc = file->real->pMethods ? file->real->pMethods->xClose(file->real) : SQLITE_OK;
    delete file->path;
    sqlite3_free(file->real);
    return rc;
}
inline int xRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
    if (off(f)) return SQLITE_IOERR_READ;
    if (const int rc = disk().callResult(IoCall::Read, *self(f)->path)) return rc;
    return self(f)->real->pMethods->xRead(self(f)->real, buffer, amount, offset);
}
inline int xWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
    if (off(f)) return SQLITE_IOERR_WRITE;
    if (const int rc = disk().callResult(IoCall::Write, *self(f)->path)) return rc;
    disk().beforeChange(*self(f)->path, offset, amount, self(f)->real);
    return self(f)->real->pMethods->xWrite(self(f)->real, buffer, amount, offset);
}
inline int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
    if (off(f)) return SQLITE_IOERR_TRUNCATE;
    if (const int rc = disk().callResult(IoCall::Truncate, *self(f)->path)) return rc;
    sqlite3_int64 now = 0;
    self(f)->real->pMethods->xFileSize(self(f)->real, &now);
    if (now > size) disk().beforeChange(*self(f)->path, size, now - size, self(f)->real);
    return self(f)->real->pMethods->xTruncate(self(f)->real, size);
}
inline int xSync(sqlite3_file* f, int flags) {
    if (off(f)) return SQLITE_IOERR_FSYNC;
    if (const int rc = disk().callResult(IoCall::Sync, *self(f)->path)) return rc;
    if (disk().watches(*self(f)->path) && !disk().syncPoint(*self(f)->path)) return SQLITE_IOERR_FSYNC;
    const int rc = self(f)->real->pMethods->xSync(self(f)->real, flags);
    if (disk().dead()) return SQLITE_IOERR_FSYNC;  // the folder sync inside it failed
    if (rc == SQLITE_OK) disk().fileSynced(*self(f)->path);
    return rc;
}
inline int xFileSize(sqlite3_file* f, sqlite3_int64* size) {
    if (off(f)) return SQLITE_IOERR_FSTAT;
    return self(f)->real->pMethods->xFileSize(self(f)->real, size);
}
inline int xLock(sqlite3_file* f, int level) {
    if (const int rc = disk().callResult(IoCall::Lock, *self(f)->path)) return rc;
    return self(f)->real->pMethods->xLock(self(f)->real, level);
}
inline int xUnlock(sqlite3_file* f, int level) { return self(f)->real->pMethods->xUnlock(self(f)->real, level); }
inline int xCheckReservedLock(sqlite3_file* f, int* out) {
    return self(f)->real->pMethods->xCheckReservedLock(self(f)->real, out);
}
inline int xFileControl(sqlite3_file* f, int op, void* arg) {
    return self(f)->real->pMethods->xFileControl(self(f)->real, op, arg);
}
inline int xSectorSize(sqlite3_file* f) { return self(f)->real->pMethods->xSectorSize(self(f)->real); }
inline int xDeviceCharacteristics(sqlite3_file* f) {
    // Nothing is promised beyond what a plain disk gives.
    (void)f;
    return 0;
}

inline const sqlite3_io_methods kMethods = {
    1,     xClose, xRead, xWrite, xTruncate, xSync, xFileSize, xLock, xUnlock, xCheckReservedLock,
    xFileControl, xSectorSize, xDeviceCharacteristics, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

inline int xOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    File* file = self(f);
    file->base.pMethods = nullptr;
    file->path = new std::string(name ? name : "");
    const bool made = name && (flags & SQLITE_OPEN_CREATE) && ::access(name, F_OK) != 0;
    if (name && disk().dead() && disk().watches(*file->path)) {
        delete file->path;
        return SQLITE_CANTOPEN;
    }
    file->real = static_cast<sqlite3_file*>(sqlite3_malloc(realVfs()->szOsFile));
    std::memset(file->real, 0, static_cast<std::size_t>(realVfs()->szOsFile));
    const int rc = realVfs()->xOpen(realVfs(), name, file->real, flags, outFlags);
    if (rc != SQLITE_OK) {
        if (file->real->pMethods) file->real->pMethods->xClose(file->real);
        sqlite3_free(file->real);
        delete file->path;
        return rc;
    }
    if (made) disk().pathMade(*file->path);
    file->base.pMethods = &kMethods;
    return SQLITE_OK;
}

inline int xDelete(sqlite3_vfs*, const char* name, int syncFolder) {
    const std::string path(name);
    if (disk().dead() && disk().watches(path)) return SQLITE_IOERR_DELETE;
    disk().beforeRemove(path);
    return realVfs()->xDelete(realVfs(), name, syncFolder);
}

// Registers the VFS as the default one (once per program).
inline void install() {
    static sqlite3_vfs vfs;
    if (realVfs()) return;
    realVfs() = sqlite3_vfs_find(nullptr);
    vfs = *realVfs();
    vfs.zName = "power-cut";
    vfs.szOsFile = static_cast<int>(sizeof(File));
    vfs.xOpen = xOpen;
    vfs.xDelete = xDelete;
    vfs.pNext = nullptr;
    sqlite3_vfs_register(&vfs, 1);
}

}  // namespace power_cut_vfs

// A scratch folder for the disk to watch, in memory where there is one: the
// disk is simulated, and real syncs would only make the many runs slow. The
// VFS is installed first.
class ScratchFolder {
public:
    explicit ScratchFolder(const char* prefix) {
        namespace fs = std::filesystem;
        power_cut_vfs::install();
        const fs::path base = fs::is_directory("/dev/shm") && ::access("/dev/shm", W_OK) == 0
                                  ? fs::path("/dev/shm")
                                  : fs::temp_directory_path();
        std::string pattern = (base / (std::string(prefix) + "-XXXXXX")).string();
        if (mkdtemp(pattern.data())) path_ = fs::canonical(pattern).string();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    // Empty when no folder could be made.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace wb::testing
