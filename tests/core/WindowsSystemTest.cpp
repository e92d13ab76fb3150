// What only the Windows build promises: where an installed copy keeps its
// settings, the drive letters, the paths given out, files other programs
// hold, the Run key, the user's name.
#include "FakeClock.h"
#include "FakeDialogs.h"
#include "ScratchFolder.h"
#include "base/InOutError.h"
#include "core/AutoStart.h"
#include "core/BackupEngine.h"
#include "platform/AppDir.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"
#include "platform/MountTable.h"
#include "platform/UserName.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <windows.h>

#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace tarvok;
using namespace tarvok::platform;
using namespace tarvok::test;

namespace {

// The path as Windows writes it.
std::string Backslashed(std::string path)
{
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    return path;
}

std::vector<BYTE> UserSid()
{
    HANDLE token = nullptr;
    ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
    ::CloseHandle(token);
    const PSID user = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    return std::vector<BYTE>(static_cast<BYTE*>(user), static_cast<BYTE*>(user) + ::GetLengthSid(user));
}

struct Access {
    int Allowed = 0;   // entries that allow anything
    int ForOthers = 0; // of those, entries for anyone but the user and the system
};

Access AccessOf(const std::string& path)
{
    Access access;
    PACL list = nullptr;
    PSECURITY_DESCRIPTOR described = nullptr;
    if (::GetNamedSecurityInfoW(PathOf(path).wstring().c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, &list, nullptr, &described) != ERROR_SUCCESS)
        return access;
    std::vector<BYTE> user = UserSid();
    for (DWORD i = 0; list && i < list->AceCount; ++i) {
        void* entry = nullptr;
        if (!::GetAce(list, i, &entry) || static_cast<ACE_HEADER*>(entry)->AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        ++access.Allowed;
        const PSID sid = &static_cast<ACCESS_ALLOWED_ACE*>(entry)->SidStart;
        if (!::EqualSid(sid, user.data()) && !::IsWellKnownSid(sid, WinLocalSystemSid))
            ++access.ForOthers;
    }
    ::LocalFree(described);
    return access;
}

} // namespace

// Only the folder's own list is looked at: Wine keeps it, but passes
// nothing on to what is made inside, as Windows does.
TEST(WindowsSystemTest, ASnapshotFolderIsTheUsersAlone)
{
    ScratchFolder dir;
    ASSERT_FALSE(Folder::MakePrivate(dir / "03_04_05"));
    const Access access = AccessOf(dir / "03_04_05");
    EXPECT_GE(access.Allowed, 1);
    EXPECT_EQ(access.ForOthers, 0);
}

// An installed copy starting without settings of its own takes over those
// an earlier copy left beside the executable, and leaves them there.
TEST(WindowsSystemTest, APortableCopyKeepsItsFolderUnlessInstalled)
{
    const struct {
        const char* What;
        bool Marker;
        const char* Installed; // the program folder, inside the scratch folder
        bool Portable;
        const char* Beside = nullptr; // the settings beside the executable
        const char* Own = nullptr;    // the settings folder's own settings
    } cases[] = {
        {"a copy in a folder of its own", false, nullptr, true, "portable"},
        {"a copy the installer marked", true, nullptr, false},
        {"a copy in the installed folder, spelt otherwise", false, "PROGRAM/", false},
        {"a copy below a program folder", false, "", false},
        {"a copy in a folder whose name only begins like one", false, "Prog", true},
        {"an installed copy over an earlier copy's settings", true, nullptr, false, "earlier"},
        {"an installed copy with settings of its own", true, nullptr, false, "earlier", "own"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ScratchFolder dir;
        ASSERT_TRUE(CreateDir(dir / "Program"));
        if (c.Marker)
            Put(dir / "Program/Tarvok.installed", "");
        if (c.Beside)
            Put(dir / "Program/Tarvok.ini", c.Beside);
        if (c.Own) {
            ASSERT_TRUE(CreateDir(dir / "Roaming") && CreateDir(dir / "Roaming/Tarvok"));
            Put(dir / "Roaming/Tarvok/Tarvok.ini", c.Own);
        }
        std::vector<std::string> installed;
        if (c.Installed) {
            std::string otherwise = dir / c.Installed;
            for (char& ch : otherwise)
                ch = ch == '/' ? '\\' : ch;
            installed.push_back(otherwise);
        }
        const AppDirSources sources{dir / "Program", installed, dir / "Roaming", dir / "Profile"};
        const std::string chosen = ChooseAppDir(sources);
        EXPECT_EQ(chosen, Backslashed(c.Portable ? dir / "Program" : dir / "Roaming/Tarvok"));
        EXPECT_EQ(DirectoryExists(dir / "Roaming/Tarvok"), !c.Portable);
        EXPECT_FALSE(WhyAppDirIsMissing(chosen));
        const char* settings = c.Own ? c.Own : c.Beside;
        EXPECT_EQ(FileExists(chosen + "/Tarvok.ini") ? Get(chosen + "/Tarvok.ini") : "none",
                  settings ? settings : "none");
        if (c.Beside) {
            EXPECT_EQ(Get(dir / "Program/Tarvok.ini"), c.Beside) << "the earlier copy keeps its settings";
        }
    }
}

TEST(WindowsSystemTest, DrivesAreTheLettersAndAPathFindsItsOwn)
{
    const std::vector<MountPoint> drives = MountedFileSystems();
    const auto c = std::find_if(drives.begin(), drives.end(), [](const MountPoint& m) { return m.Root == "C:\\"; });
    ASSERT_NE(c, drives.end());
    EXPECT_EQ(c->Type, "fixed");
    EXPECT_EQ(MountRootOf(drives, "c:\\Users\\someone\\file.txt"), "C:\\");
    EXPECT_EQ(MountRootOf(drives, "C:/"), "C:\\");
    EXPECT_EQ(MountRootOf(drives, "\\\\server\\share\\file.txt"), "");
}

// Whatever separators a caller used, the paths the file layer gives out are
// the system's own; a drive root keeps its backslash, a share its two.
TEST(WindowsSystemTest, PathsGivenOutHaveBackslashes)
{
    ScratchFolder dir;
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(PathOf(dir.Path()));
    const std::string current = CurrentDirectory();
    std::filesystem::current_path(before);
    Folder folder = Folder::Open(dir.Path());
    const RawFile temporary = folder.CreateTemporary(".probe-");
    const std::string name = temporary.Path().substr(temporary.Path().find_last_of('\\') + 1);
    const struct {
        const char* What;
        std::string Given, Expected;
    } cases[] = {
        {"the current folder", current, Backslashed(dir.Path())},
        {"an open folder", folder.Path(), Backslashed(dir.Path())},
        {"a file made in it", temporary.Path(), Backslashed(dir / name)},
        {"the executable", ExecutablePath(), ExecutableDir() + "\\core_tests.exe"},
        {"the settings folder", UserConfigAppDir({"", {}, "C:/Users/x/AppData/Roaming/", ""}),
         "C:\\Users\\x\\AppData\\Roaming\\Tarvok"},
        {"the settings folder on a drive root", UserConfigAppDir({"", {}, "D:\\", ""}), "D:\\Tarvok"},
        {"the settings folder on a share", UserConfigAppDir({"", {}, "//server/share/Roaming", ""}),
         "\\\\server\\share\\Roaming\\Tarvok"},
        {"the settings folder in the profile", UserConfigAppDir({"", {}, "", "C:/Users/x"}),
         "C:\\Users\\x\\AppData\\Roaming\\Tarvok"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Given, c.Expected) << c.What;
}

namespace {

// Another program holding a file (the holder beside the tests), from the
// moment it has taken it until this object goes.
class HeldFile {
public:
    HeldFile(const std::string& how, const std::string& path, const std::string& signal)
    {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE input = nullptr;
        if (!::CreatePipe(&input, &input_, &inherited, 0))
            return;
        ::SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        std::wstring command = PathOf(ExecutableDir() + "\\file_holder.exe").wstring();
        command = L"\"" + command + L"\" " + PathOf(how).wstring() + L" \"" + PathOf(path).wstring() + L"\" \"" +
                  PathOf(signal).wstring() + L"\"";
        STARTUPINFOW start{};
        start.cb = sizeof start;
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdInput = input;
        PROCESS_INFORMATION started{};
        if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &started)) {
            process_ = started.hProcess;
            ::CloseHandle(started.hThread);
        }
        ::CloseHandle(input);
        const ULONGLONG deadline = ::GetTickCount64() + 30000;
        while (process_ && !FileExists(signal) && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT &&
               ::GetTickCount64() < deadline)
            ::Sleep(10);
        held_ = FileExists(signal);
    }
    ~HeldFile()
    {
        ::CloseHandle(input_); // the holder lets go when its input ends
        if (process_ && ::WaitForSingleObject(process_, 30000) != WAIT_OBJECT_0)
            ::TerminateProcess(process_, 1);
        if (process_)
            ::CloseHandle(process_);
    }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return held_; }

private:
    HANDLE input_ = nullptr;
    HANDLE process_ = nullptr;
    bool held_ = false;
};

// Wine keeps a lock from other writers only; there a locked file reads as any other.
bool ReadsPastLocks(const std::string& path)
{
    const HANDLE file = ::CreateFileW(PathOf(path).wstring().c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    char first = 0;
    DWORD n = 0;
    const bool read = ::ReadFile(file, &first, 1, &n, nullptr) != 0;
    ::CloseHandle(file);
    return read;
}

} // namespace

// A source another program has open is copied whole when it shares reading;
// held without sharing, or locked, it ends the run naming the file.
TEST(WindowsSystemTest, ASourceAnotherProgramHoldsIsCopiedOrSaidToBeInUse)
{
    const struct {
        const char* How;
        int Code; // 0: copied
    } cases[] = {
        {"share", 0},
        {"alone", ERROR_SHARING_VIOLATION},
        {"lock", ERROR_LOCK_VIOLATION},
    };
    const std::string contents = std::string(300000, 'x') + "end";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.How);
        ScratchFolder dir;
        ASSERT_TRUE(CreateDir(dir / "BkUp"));
        const std::string source = Backslashed(dir / "big.bin");
        Put(source, contents);
        FakeDialogs dialogs;
        FakeClock clock;
        clock.Time = LocalTime{2026, 3, 4, 5};
        int code = 0;
        std::string message;
        {
            const HeldFile held(c.How, source, dir / "held");
            ASSERT_TRUE(held.Held());
            if (c.Code == ERROR_LOCK_VIOLATION && ReadsPastLocks(source)) {
                std::cout << "This system reads past another program's lock: the locked source is not tried.\n";
                continue;
            }
            try {
                BackUpFileList({FileRec{source, 1, 0}}, Backslashed(dir / "BkUp"), clock, dialogs);
            } catch (const EInOutError& error) {
                code = error.ErrorCode();
                message = error.what();
            }
        }
        EXPECT_EQ(code, c.Code) << message;
        if (c.Code == 0) {
            EXPECT_EQ(Get(dir / "BkUp/03_04_05/big.bin"), contents);
        } else {
            EXPECT_EQ(message, source + ": The file is in use by another program");
            EXPECT_EQ(ListDirectory(dir / "BkUp/03_04_05").size(), 0u) << "no copy, whole or part";
        }
        EXPECT_TRUE(dialogs.Log.empty());
    }
}

TEST(WindowsSystemTest, AFileAnotherProgramHoldsIsNotReplacedAndStaysWhole)
{
    ScratchFolder dir;
    Put(dir / "held.ini", "old");
    // As a program that shares reading only holds it.
    std::wstring held = PathOf(dir / "held.ini").wstring();
    const HANDLE other = ::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    try {
        ReplaceFileContents(dir / "held.ini", "new");
        ADD_FAILURE() << "replaced a file another program holds";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode(), 5);
    }
    ::CloseHandle(other);
    EXPECT_EQ(Get(dir / "held.ini"), "old");
    EXPECT_EQ(ListDirectory(dir.Path()).size(), 1u) << "no temporary or moved-aside file is left";
}

namespace {

constexpr wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The value's text in the hive's Run key; nothing when it is not there.
std::optional<std::wstring> RunValue(HKEY hive, const std::wstring& name)
{
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (::RegGetValueW(hive, RunKey, name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

bool MayWriteRunKey(HKEY hive)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(hive, RunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

} // namespace

// The machine's Run key when this user may write it, else the user's own;
// turning it off takes exactly that value and leaves the others.
TEST(WindowsSystemTest, TheRunKeyStartsTheProgramAtLogonUntilTurnedOff)
{
    const std::wstring id = std::to_wstring(::GetCurrentProcessId());
    const std::string pid = std::to_string(::GetCurrentProcessId());
    const HKEY expected = MayWriteRunKey(HKEY_LOCAL_MACHINE) ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const HKEY other = expected == HKEY_LOCAL_MACHINE ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const std::wstring neighbour = L"TarvokNeighbour" + id;
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(expected, RunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
    ::RegSetValueExW(key, neighbour.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 2 * sizeof(wchar_t));

    const struct {
        std::string Exe;
        std::wstring Name;
        std::wstring Data;
    } cases[] = {
        {"C:/Program Files/Tarvok/Probe" + pid + ".exe", L"Probe" + id + L".exe",
         L"\"C:\\Program Files\\Tarvok\\Probe" + id + L".exe\" --at-logon"},
        {"D:\\Tools\\K\xc3\xa4ytt\xc3\xb6" + pid + ".exe", L"K\u00e4ytt\u00f6" + id + L".exe",
         L"\"D:\\Tools\\K\u00e4ytt\u00f6" + id + L".exe\" --at-logon"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Exe);
        AddAutoStartRegistry("C:/old/" + c.Exe.substr(c.Exe.find_last_of("/\\") + 1));
        AddAutoStartRegistry(c.Exe);
        EXPECT_EQ(RunValue(expected, c.Name), c.Data);
        EXPECT_FALSE(RunValue(other, c.Name));

        RemoveAutoStart(c.Exe);
        EXPECT_FALSE(RunValue(expected, c.Name));
        EXPECT_NO_THROW(RemoveAutoStart(c.Exe));
    }
    EXPECT_EQ(RunValue(expected, neighbour), L"x");
    ::RegDeleteValueW(key, neighbour.c_str());
    ::RegCloseKey(key);
}

TEST(WindowsSystemTest, TheUserNameIsTheLogonName)
{
    const wchar_t* logon = ::_wgetenv(L"USERNAME");
    if (!logon)
        GTEST_SKIP() << "USERNAME is not set";
    const std::optional<std::string> user = CurrentUserName();
    ASSERT_TRUE(user);
    EXPECT_EQ(PathOf(*user).wstring(), logon) << "the name, in UTF-8";
}

// %APPDATA% comes with backslashes, as the program's own paths do.
TEST(WindowsSystemTest, AnInstalledCopyKeepsItsFilesInTheRoamingFolder)
{
    ScratchFolder dir;
    std::wstring roaming = PathOf(dir / "Roaming").wstring();
    for (wchar_t& c : roaming)
        c = c == L'/' ? L'\\' : c;
    const wchar_t* before = ::_wgetenv(L"APPDATA");
    const std::wstring kept = before ? before : L"";
    ASSERT_EQ(::_wputenv_s(L"APPDATA", roaming.c_str()), 0);
    const std::string chosen = DetermineAppDir({ExecutableDir()});
    ::_wputenv_s(L"APPDATA", kept.c_str());
    EXPECT_EQ(chosen, Backslashed(dir / "Roaming/Tarvok"));
    EXPECT_TRUE(DirectoryExists(chosen));
}
