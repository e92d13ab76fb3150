// Holds a file open as another program would, until its input ends:
//   file_holder share|alone|lock FILE SIGNAL
// "share" shares reading, writing and deletion with others, "alone" shares
// nothing, "lock" shares everything but locks every byte. The file SIGNAL
// is made once the file is held.
#include <windows.h>

#include <shellapi.h>

#include <string>

int main()
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc != 4)
        return 2;
    const std::wstring how = argv[1];
    const DWORD share = how == L"alone" ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const HANDLE file = ::CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    OVERLAPPED whole{};
    if (how == L"lock" &&
        !::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole))
        return 4;
    const HANDLE signal = ::CreateFileW(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (signal == INVALID_HANDLE_VALUE)
        return 5;
    ::CloseHandle(signal);
    char got = 0;
    DWORD n = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), &got, 1, &n, nullptr) && n > 0) {
    }
    ::CloseHandle(file);
    return 0;
}
