#include "platform/FileSystem.h"

#include "base/InOutError.h"
#include "base/VisibleText.h"
#include "platform/DriveCalls.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <string_view>
#include <utility>

namespace tarvok::platform {
namespace {

bool StatIs(const std::string& path, mode_t type)
{
    struct stat st {};
    return UsablePath(path) && ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == type;
}

std::string ParentOf(const std::string& path)
{
    const auto pos = path.rfind('/');
    if (pos == std::string::npos)
        return ".";
    return pos == 0 ? "/" : path.substr(0, pos);
}

// The read-only attribute: the owner may not write.
bool ReadOnlyMode(mode_t mode) { return (mode & S_IWUSR) == 0; }

std::string FileNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The first folder on the way up from `dir` (a path without links) that
// another user could change: one not the user's or root's, or one others
// may write (unless the user's own and sticky). Nothing when the way up to
// a folder of the user's own, or to the root, has none.
std::optional<std::string> FolderOthersCanChange(std::string dir)
{
    for (;;) {
        struct stat st {};
        if (::lstat(dir.c_str(), &st) != 0)
            return dir;
        const bool othersWrite = (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
        if (st.st_uid == ::geteuid() && (!othersWrite || (st.st_mode & S_ISVTX) != 0))
            return std::nullopt;
        if (st.st_uid != 0 || othersWrite)
            return dir;
        if (dir == "/")
            return std::nullopt;
        dir = ParentOf(dir);
    }
}

// The file a path names once symbolic links in its last part are followed,
// for writing. A link is followed only when it is the user's own (or root's),
// has no second name (a hard link made elsewhere by someone else would carry
// our ownership anywhere), stands in a folder nobody else can write (where
// others could have put it) and ends at a plain file: a link to a device,
// FIFO or folder would replace that with a plain file, a link to nothing
// says nothing of where it leads. Anything else is refused.
std::string FollowOwnLinks(const std::string& start)
{
    auto refused = [&](const std::string& why) {
        return EInOutError(5, "The file " + VisibleName(start) + " is a link " + why);
    };
    std::string path = start;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (hops == 0)
                return path; // a new file, or the write says why not
            if (errno == ENOENT || errno == ENOTDIR)
                throw refused("that does not lead to a plain file");
            ThrowInOutError(errno, path);
        }
        if (!S_ISLNK(st.st_mode)) {
            if (hops > 0 && !S_ISREG(st.st_mode))
                throw refused("that does not lead to a plain file");
            if (hops == 0)
                return path;
            // Whoever may change a folder on the way could swap the target for a link of theirs.
            char real[PATH_MAX];
            if (!::realpath(ParentOf(path).c_str(), real))
                ThrowInOutError(errno, path);
            if (const auto folder = FolderOthersCanChange(real))
                throw refused("into a folder another user can change: " + VisibleName(*folder));
            return path;
        }
        if (st.st_uid != ::geteuid() && st.st_uid != 0)
            throw EInOutError(5, "The file " + VisibleName(path) + " is a link of another user");
        if (st.st_nlink != 1)
            throw EInOutError(5, "The file " + VisibleName(path) + " is a link with a second name");
        struct stat folder {};
        if (::stat(ParentOf(path).c_str(), &folder) != 0 || (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0)
            throw EInOutError(5, "The file " + VisibleName(path) + " is a link in a folder others can write");
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
        if (n <= 0)
            ThrowInOutError(errno, path);
        const std::string target(buffer, static_cast<size_t>(n));
        path = target[0] == '/' ? target : ParentOf(path).append("/").append(target);
    }
    ThrowInOutError(ELOOP, path);
}

// A descriptor that is always closed.
class UniqueFd {
public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int Get() const { return fd_; }
    // Closes now, answering the errno of a failed close or 0.
    int Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
    }
    // Hands the descriptor to a new owner.
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// A replace writes its temporary file as `.<name>.XXXXXX` beside the file.
std::string TemporaryPrefix(const std::string& target) { return "." + FileNameOf(target) + "."; }

} // namespace

bool FileExists(const std::string& path) { return StatIs(path, S_IFREG); }

bool IsReadOnly(const std::string& path)
{
    struct stat st {};
    return UsablePath(path) && ::stat(path.c_str(), &st) == 0 && ReadOnlyMode(st.st_mode);
}

bool DirectoryExists(const std::string& path) { return StatIs(path, S_IFDIR); }

uint64_t FileSizeOf(const std::string& path)
{
    struct stat st {};
    return UsablePath(path) && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size)
                                                                                     : 0;
}

bool FoldsCase(const std::string& dir, const std::string& name)
{
    std::string swapped = name;
    for (char& c : swapped)
        c = std::isupper(static_cast<unsigned char>(c))
                ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
                : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // FUSE drives give each name looked up a number of its own, so the
    // answer is a name found that the folder does not list.
    struct stat st {};
    if (swapped == name || !UsablePath(dir + "/" + swapped) || ::lstat((dir + "/" + swapped).c_str(), &st) != 0)
        return false;
    for (const DirEntry& entry : ListDirectory(dir))
        if (entry.Name == swapped)
            return false;
    return true;
}

namespace {

// Every entry of an open directory stream, which is closed afterwards.
std::vector<DirEntry> ListOpenDirectory(DIR* dir, const std::function<void()>& eachEntry = {})
{
    std::vector<DirEntry> entries;
    std::unique_ptr<DIR, int (*)(DIR*)> handle(dir, ::closedir);
    if (!handle)
        return entries;
    const int dirFd = ::dirfd(handle.get());
    while (const dirent* e = ::readdir(handle.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        if (eachEntry)
            eachEntry();
        DirEntry entry{name, 0};
        struct stat lst {};
        if (::fstatat(dirFd, e->d_name, &lst, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // vanished while listing
        struct stat st = lst;
        if (S_ISLNK(lst.st_mode)) {
            entry.Attr |= faSymLink;
            if (::fstatat(dirFd, e->d_name, &st, 0) != 0)
                st = lst;
        }
        if (S_ISDIR(st.st_mode))
            entry.Attr |= faDirectory;
        if (name[0] == '.')
            entry.Attr |= faHidden;
        if (ReadOnlyMode(st.st_mode))
            entry.Attr |= faReadOnly;
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace

std::vector<DirEntry> ListDirectory(const std::string& dir, const std::function<void()>& eachEntry)
{
    if (!UsablePath(dir))
        return {};
    return ListOpenDirectory(::opendir(dir.c_str()), eachEntry);
}

void ReleaseFreedMemory() { ::malloc_trim(0); }

std::vector<DirEntry> ListDirectoryAt(int dirFd)
{
    // The stream takes over the descriptor it is made from and shares its
    // position, so it gets a fresh one.
    UniqueFd fd(::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* dir = fd.Get() < 0 ? nullptr : ::fdopendir(fd.Get());
    if (dir)
        fd.Release(); // the stream owns it now
    return ListOpenDirectory(dir);
}

bool CreateDir(const std::string& path) { return UsablePath(path) && ::mkdir(path.c_str(), 0777) == 0; }

bool CreateDirWithParents(const std::string& path)
{
    if (!UsablePath(path))
        return false;
    if (DirectoryExists(path))
        return true;
    const std::string parent = ParentOf(path);
    if (parent != path && !DirectoryExists(parent) && !CreateDirWithParents(parent))
        return false;
    return ::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && DirectoryExists(path));
}

bool RemoveDir(const std::string& path) { return UsablePath(path) && ::rmdir(path.c_str()) == 0; }

bool DeleteFile(const std::string& path) { return UsablePath(path) && ::unlink(path.c_str()) == 0; }

namespace {

// How reading a whole file through its descriptor ended.
struct WholeRead {
    int Error = 0; // errno of a failed look or read
    bool NotPlain = false;
    bool TooLarge = false; // holds, or grew while read to, more than allowed
};

WholeRead ReadWhole(int fd, uint64_t maxSize, std::string& contents)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return {errno};
    if (!S_ISREG(st.st_mode))
        return {0, true};
    if (static_cast<uint64_t>(st.st_size) > maxSize)
        return {0, false, true};
    contents.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {errno};
        if (n == 0)
            return {};
        contents.append(buffer, static_cast<size_t>(n));
        if (contents.size() > maxSize)
            return {0, false, true};
    }
}

} // namespace

std::string ReadWholeFile(const std::string& path)
{
    if (!UsablePath(path))
        throw EInOutError(3);
    // Not blocking: a FIFO in the file's place must not hang the program.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0)
        ThrowInOutError(errno, path);
    std::string contents;
    const WholeRead read = ReadWhole(fd.Get(), MaxWholeFileSize, contents);
    if (read.Error != 0)
        ThrowInOutError(read.Error, path);
    if (read.NotPlain)
        throw EInOutError(5, "This is not a plain file");
    if (read.TooLarge)
        throw EInOutError(5, "The file is larger than " + std::to_string(MaxWholeFileSize >> 20) + " MB");
    return contents;
}

std::optional<std::string> ReadPlainFileNoFollow(const std::string& path, uint64_t maxSize)
{
    if (!UsablePath(path))
        return std::nullopt;
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0)
        return std::nullopt;
    std::string contents;
    const WholeRead read = ReadWhole(fd.Get(), maxSize, contents);
    if (read.Error != 0 || read.NotPlain || read.TooLarge)
        return std::nullopt;
    return contents;
}

void ReplaceFileContents(const std::string& linkOrPath, const std::string& contents)
{
    if (!UsablePath(linkOrPath))
        throw EInOutError(3);
    const std::string path = FollowOwnLinks(linkOrPath);
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    // Renaming over a file needs only the directory's permission; the file's own counts. A read-only drive says so.
    if (exists && S_ISREG(old.st_mode) && (ReadOnlyMode(old.st_mode) || ::access(path.c_str(), W_OK) != 0))
        throw !ReadOnlyMode(old.st_mode) && errno == EROFS ? InOutErrorFromErrno(EROFS, path) : EInOutError(5);
    std::string temp = ParentOf(path) + "/" + TemporaryPrefix(path) + "XXXXXX";
    UniqueFd fd(::mkstemp(temp.data()));
    if (fd.Get() < 0)
        ThrowInOutError(errno, path);
    // Locked until renamed, so another copy's cleaning leaves it alone.
    const UniqueFd lock(HoldTemporary(fd.Get()));
    auto fail = [&](int error) {
        ::unlink(temp.c_str());
        ThrowInOutError(error, path);
    };
    // Keep the permissions a newly created file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    // Another user's file (root may replace one) lends the new file no mode.
    const bool ownOld = exists && (old.st_uid == ::geteuid() || old.st_uid == 0);
    const mode_t mode = ownOld ? (old.st_mode & 07777) : (0666 & ~mask);
    if (Drive().ChangeMode(fd.Get(), mode) != 0 && !ModeRefusedByDrive(errno))
        fail(errno);
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = ::write(fd.Get(), contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(errno);
        if (n == 0)
            fail(ENOSPC);
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd.Get()) != 0)
        fail(errno);
    if (const int error = fd.Close(); error != 0)
        fail(error);
    if (const int error = RenameOver(AT_FDCWD, temp, path); error != 0)
        fail(error);
}

void RemoveReplaceLeftovers(const std::string& linkOrPath)
{
    if (!UsablePath(linkOrPath))
        return;
    std::string path;
    try {
        path = FollowOwnLinks(linkOrPath);
    } catch (const EInOutError&) {
        return;
    }
    struct stat aside {};
    if (::lstat(AsideName(path).c_str(), &aside) == 0 && S_ISREG(aside.st_mode))
        SettleAside(AT_FDCWD, AsideName(path));
    const std::string dir = ParentOf(path);
    const std::string prefix = TemporaryPrefix(path);
    const UniqueFd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.Get() < 0)
        return;
    for (const DirEntry& entry : ListDirectoryAt(dirFd.Get())) {
        struct stat st {};
        if (IsReplaceTemporaryName(entry.Name, prefix) &&
            ::fstatat(dirFd.Get(), entry.Name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_uid == ::geteuid() &&
            IsAbandonedTemporary(dirFd.Get(), entry.Name))
            ::unlinkat(dirFd.Get(), entry.Name.c_str(), 0);
    }
}

std::string ExecutablePath()
{
    // Resolved once, at start: an upgrade may replace or move the file while
    // we run, and the kernel then names a path that is gone, " (deleted)"
    // appended.
    static const std::string path = [] {
        char buffer[PATH_MAX];
        const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        std::string started = n <= 0 ? std::string() : std::string(buffer, static_cast<size_t>(n));
        constexpr std::string_view deleted = " (deleted)";
        if (started.ends_with(deleted) && ::access(started.c_str(), F_OK) != 0)
            started.resize(started.size() - deleted.size());
        return started;
    }();
    return path;
}

std::string ExecutableDir()
{
    const std::string path = ExecutablePath();
    return path.empty() ? CurrentDirectory() : ParentOf(path);
}

std::string CurrentDirectory()
{
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

} // namespace tarvok::platform
