#pragma once
// Linux only: the refusals are those of the Linux file calls.
#ifndef _WIN32
#include "platform/DriveCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <stdio.h>
#include <string>
#include <sys/stat.h>

namespace tarvok::test {

// What a drive refuses; the defaults allow everything, as ext4 does.
struct DriveRefusals {
    int ChangeMode = 0;     // errno of every permission change
    bool NoReplace = true;  // RENAME_NOREPLACE exists
    bool RenameOver = true; // a rename may replace a file (else EPERM)
    int QuestionMark = 0;   // errno of a rename to a name holding '?'
    std::string FailOnceTo; // the next rename to a path ending so fails once
    int FailOnceError = ENOSPC;
    bool HardLinks = true; // else linkat says EPERM, as FAT does
    bool Exchange = true;  // RENAME_EXCHANGE exists
    // Runs before every call the drive answers: what another process does meanwhile.
    std::function<void()> Meanwhile = {};
};

// Puts a drive's refusals into the file layer for as long as it lives.
class FakeDrive {
public:
    explicit FakeDrive(const DriveRefusals& refusals) : saved_(platform::Drive())
    {
        Refusals() = refusals;
        platform::Drive() = {ChangeMode, Rename, Link};
    }
    ~FakeDrive() { platform::Drive() = saved_; }
    FakeDrive(const FakeDrive&) = delete;
    FakeDrive& operator=(const FakeDrive&) = delete;

private:
    static DriveRefusals& Refusals()
    {
        static DriveRefusals refusals;
        return refusals;
    }
    static int Fail(int error)
    {
        errno = error;
        return -1;
    }
    static void Meanwhile()
    {
        if (Refusals().Meanwhile)
            Refusals().Meanwhile();
    }
    static int ChangeMode(int fd, unsigned mode)
    {
        Meanwhile();
        return Refusals().ChangeMode ? Fail(Refusals().ChangeMode) : ::fchmod(fd, mode);
    }
    static int Rename(int fromDir, const char* from, int toDir, const char* to, unsigned flags)
    {
        Meanwhile();
        DriveRefusals& r = Refusals();
        const std::string target = to;
        if (!r.FailOnceTo.empty() && target.size() >= r.FailOnceTo.size() &&
            target.compare(target.size() - r.FailOnceTo.size(), r.FailOnceTo.size(), r.FailOnceTo) == 0) {
            r.FailOnceTo.clear();
            return Fail(r.FailOnceError);
        }
        if (r.QuestionMark && target.find('?') != std::string::npos)
            return Fail(r.QuestionMark);
        if ((flags == RENAME_NOREPLACE && !r.NoReplace) || (flags == RENAME_EXCHANGE && !r.Exchange))
            return Fail(EINVAL);
        struct stat st {};
        if (!r.RenameOver && ::fstatat(toDir, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
            return Fail(EPERM);
        return ::renameat2(fromDir, from, toDir, to, flags);
    }
    static int Link(int fromDir, const char* from, int toDir, const char* to)
    {
        Meanwhile();
        return Refusals().HardLinks ? ::linkat(fromDir, from, toDir, to, 0) : Fail(EPERM);
    }
    platform::DriveCalls saved_;
};

} // namespace tarvok::test

#endif
