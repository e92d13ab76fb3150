#pragma once
// Linux only: fork, resource limits and users.
#ifndef _WIN32
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace tarvok::test {

// Runs `action` in a forked child and returns its exit code (-1 when it did
// not exit normally). Used for limits that must not touch the test process.
inline int RunInChild(const std::function<int()>& action)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0)
        ::_exit(action());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Limits the size of any file the calling process writes; a write beyond it
// fails with EFBIG instead of raising SIGXFSZ.
inline void LimitFileSize(rlim_t bytes)
{
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// Root ignores file permissions; a child that tests them drops to "nobody".
inline bool DropRoot()
{
    if (::geteuid() != 0)
        return true;
    return ::setgid(65534) == 0 && ::setuid(65534) == 0;
}

} // namespace tarvok::test

#endif
