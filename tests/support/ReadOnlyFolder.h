#pragma once
// Linux only: bind mounts and modes.
#ifndef _WIN32
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvok::test {

// Makes a folder read-only for this process while it lives: for root, whom
// modes do not stop, a read-only bind mount of the folder over itself (its
// writes then fail as on a read-only drive, EROFS); for anybody else, mode
// 0555 (EACCES). The folder gets its writability back at the end.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string dir) : dir_(std::move(dir))
    {
        if (::geteuid() != 0) {
            made_ = ::chmod(dir_.c_str(), 0555) == 0;
            return;
        }
        if (::mount(dir_.c_str(), dir_.c_str(), nullptr, MS_BIND, nullptr) != 0)
            return;
        made_ = ::mount(nullptr, dir_.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        if (!made_)
            ::umount2(dir_.c_str(), MNT_DETACH);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    ~ReadOnlyFolder()
    {
        if (!made_)
            return;
        if (::geteuid() != 0)
            ::chmod(dir_.c_str(), 0700);
        else
            ::umount2(dir_.c_str(), MNT_DETACH);
    }

    bool Made() const { return made_; }
    // The system's words for a write refused here.
    static const char* Refusal() { return ::geteuid() == 0 ? "Read-only file system" : "Permission denied"; }

private:
    std::string dir_;
    bool made_ = false;
};

} // namespace tarvok::test

#endif
