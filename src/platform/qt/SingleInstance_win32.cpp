#include "platform/qt/SingleInstance.h"

#include "platform/FileSystem.h"
#include "platform/Win32Files_win32.h"

#include <QLockFile>

#include <sddl.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace tarvok::platform {
namespace {

using namespace win32;

// The user's security identifier as text ("S-1-5-21-..."); empty when the
// system does not say.
std::string UserSidText()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    std::string text;
    wchar_t* sid = nullptr;
    if (size != 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
        text = Utf8(sid);
        ::LocalFree(sid);
    }
    ::CloseHandle(token);
    return text;
}

// The client's end of the named pipe; INVALID_HANDLE_VALUE when nobody
// listens there.
HANDLE ConnectTo(const std::string& name)
{
    const std::optional<std::wstring> wide = Wide(name);
    if (name.empty() || !wide)
        return INVALID_HANDLE_VALUE;
    const std::wstring path = L"\\\\.\\pipe\\" + *wide;
    return ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
}

// Writes `bytes` into the pipe, waiting at most `patience` for the reader: a
// pipe hands a write over only as the other end reads it, and a copy that
// hangs must not hang this one too.
bool WriteWithin(HANDLE pipe, const std::string& bytes, std::chrono::milliseconds patience)
{
    OVERLAPPED overlapped{};
    overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!overlapped.hEvent)
        return false;
    DWORD written = 0;
    bool done = ::WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &overlapped) ||
                ::GetLastError() == ERROR_IO_PENDING;
    if (done && ::WaitForSingleObject(overlapped.hEvent, static_cast<DWORD>(patience.count())) != WAIT_OBJECT_0)
        ::CancelIo(pipe);
    done = done && ::GetOverlappedResult(pipe, &overlapped, &written, TRUE) && written == bytes.size();
    ::CloseHandle(overlapped.hEvent);
    return done;
}

} // namespace

struct InstanceLock::Held {};

std::string RuntimeDirectory(std::string* refusal)
{
    const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA");
    if (!local || !*local) {
        if (refusal)
            *refusal = "LOCALAPPDATA is not set";
        return {};
    }
    std::string dir = ChildPath(Utf8(local), "Tarvok");
    CreateDirWithParents(dir);
    if (!DirectoryExists(dir)) {
        if (refusal)
            *refusal = dir + " cannot be made";
        return {};
    }
    return dir;
}

InstanceLock::InstanceLock(const std::string& directory, const std::string& name)
{
    if (directory.empty())
        return;
    lockPath_ = ChildPath(directory, name + ".lock");
    // Pipe names are one namespace for the whole machine: the user's own
    // identity keeps each user's copy to itself.
    const std::string sid = UserSidText();
    socketPath_ = name + "-" + (sid.empty() ? std::to_string(::GetCurrentProcessId()) : sid);
    lock_ = std::make_unique<QLockFile>(QString::fromStdString(lockPath_));
    // Only a dead owner makes a lock stale, never its age.
    lock_->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

// A live copy holds its lock file open, sharing it for reading only; a dead
// one's file stays behind. Its process id says nothing: Windows gives it to
// the next process, also after a restart, and the folder keeps the file.
bool InstanceLock::NamesLiveProcess() const
{
    const std::optional<std::wstring> path = SystemPath(lockPath_);
    if (!path)
        return false;
    const HANDLE file = ::CreateFileW(path->c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_SHARING_VIOLATION;
    ::CloseHandle(file);
    return false;
}

bool InstanceLock::CopyAnswers() const
{
    const HANDLE pipe = ConnectTo(socketPath_);
    if (pipe == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_PIPE_BUSY;
    ::CloseHandle(pipe);
    return true;
}

bool InstanceLock::WakeRunningCopy(std::chrono::milliseconds patience) const
{
    // A copy that has just started listens a moment after taking the lock,
    // and one busy with another caller has no free end for a moment.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    HANDLE pipe = ConnectTo(socketPath_);
    while (pipe == INVALID_HANDLE_VALUE && !socketPath_.empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        pipe = ConnectTo(socketPath_);
    }
    if (pipe == INVALID_HANDLE_VALUE)
        return false;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const bool sent = WriteWithin(pipe, "wake\n", std::max(left, std::chrono::milliseconds(1000)));
    ::CloseHandle(pipe);
    return sent;
}

} // namespace tarvok::platform
