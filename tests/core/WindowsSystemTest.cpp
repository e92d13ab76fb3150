// What only the Windows build promises: where an installed copy keeps its
// settings, the drive letters, files other programs hold, the Run key, the
// user's name.
#include "ScratchFolder.h"
#include "base/InOutError.h"
#include "core/AutoStart.h"
#include "platform/AppDir.h"
#include "platform/FileSystem.h"
#include "platform/Folder.h"
#include "platform/MountTable.h"
#include "platform/UserName.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

using namespace tarvok;
using namespace tarvok::platform;
using namespace tarvok::test;

namespace {

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
        EXPECT_EQ(chosen, c.Portable ? dir / "Program" : dir / "Roaming/Tarvok");
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
    const auto c = std::find_if(drives.begin(), drives.end(), [](const MountPoint& m) { return m.Root == "C:/"; });
    ASSERT_NE(c, drives.end());
    EXPECT_EQ(c->Type, "fixed");
    EXPECT_EQ(MountRootOf(drives, "c:\\Users\\someone\\file.txt"), "C:/");
    EXPECT_EQ(MountRootOf(drives, "C:/"), "C:/");
    EXPECT_EQ(MountRootOf(drives, "\\\\server\\share\\file.txt"), "");
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

// %APPDATA% comes with backslashes; the program's paths have '/' only.
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
    EXPECT_EQ(chosen, dir / "Roaming/Tarvok");
    EXPECT_TRUE(DirectoryExists(chosen));
}
