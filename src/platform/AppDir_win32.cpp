#include "platform/AppDir.h"

#include "platform/FileSystem.h"
#include "platform/Win32Files_win32.h"

#include <cctype>
#include <cwctype>

// On Windows the sources' XdgConfigHome carries %APPDATA% and Home
// %USERPROFILE%: the per-user settings folder and the profile it lies in.
// InstalledBinDirs are the folders installed programs live in (Program
// Files): a copy in one of them, or anywhere below, is installed.
namespace tarvok::platform {
namespace {

using namespace win32;

// The installer writes this beside the program: an installed copy keeps its
// settings per user even where it could write its own folder (Wine lets
// anyone write into Program Files).
constexpr char InstalledMarker[] = "Tarvok.installed";
// The settings file the program reads from its folder.
constexpr char SettingsFile[] = "Tarvok.ini";

bool IsAbsolute(const std::string& path)
{
    return (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
            (path[2] == '/' || path[2] == '\\')) ||
           (path.size() >= 2 && (path[0] == '/' || path[0] == '\\') && (path[1] == '/' || path[1] == '\\'));
}

// `inner` is the folder `outer` or lies below it, whatever the spelling:
// case, separators, "..".
bool InFolder(const std::string& inner, const std::string& outer)
{
    const std::optional<std::wstring> x = SystemPath(inner);
    std::optional<std::wstring> y = SystemPath(outer);
    if (!x || !y || outer.empty())
        return false;
    while (!y->empty() && y->back() == L'\\')
        y->pop_back();
    if (x->size() < y->size() || (x->size() > y->size() && (*x)[y->size()] != L'\\'))
        return false;
    return ::CompareStringOrdinal(x->c_str(), static_cast<int>(y->size()), y->c_str(), static_cast<int>(y->size()),
                                  TRUE) == CSTR_EQUAL;
}

bool IsInstalled(const AppDirSources& sources)
{
    for (const std::string& installed : sources.InstalledBinDirs)
        if (InFolder(sources.ExecutableDir, installed))
            return true;
    return FileExists(ChildPath(sources.ExecutableDir, InstalledMarker));
}

// Writable for this user as the files will be written: access lists and
// read-only drives say so only when a file is made there. Answers the
// system's error, 0 when writable.
DWORD WhyNotWritable(const std::string& dir)
{
    const std::optional<std::wstring> wide = SystemPath(dir);
    if (!wide || !DirectoryExists(dir))
        return ERROR_DIRECTORY;
    const std::wstring probe = *wide + L"\\.tarvok-probe-" + std::to_wstring(::GetCurrentProcessId());
    const HANDLE handle = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    ::CloseHandle(handle);
    return 0;
}

std::string SystemText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD n =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words = n == 0 ? L"error " + std::to_wstring(error) : std::wstring(text, n);
    ::LocalFree(text);
    while (!words.empty() && (std::iswspace(words.back()) || words.back() == L'.'))
        words.pop_back();
    return Utf8(words);
}

std::string ParentOf(const std::string& path)
{
    const auto pos = path.find_last_of("/\\");
    return pos == std::string::npos ? std::string() : path.substr(0, pos);
}

bool Exists(const std::string& path)
{
    const std::optional<std::wstring> wide = SystemPath(path);
    return wide && ::GetFileAttributesW(wide->c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The variable's folder with '\\' between its parts, as the program's other
// paths have them: a path is compared byte for byte.
std::string EnvironmentText(const wchar_t* name)
{
    const wchar_t* value = ::_wgetenv(name);
    return value ? Backslashed(Utf8(value)) : std::string();
}

// An earlier copy in the executable's folder (a portable one, or an older
// program) kept its settings beside it: a settings folder without its own
// takes a copy of them; the earlier file stays for that copy.
void TakeOverEarlierSettings(const std::string& executableDir, const std::string& appDir)
{
    const std::optional<std::wstring> from = SystemPath(executableDir + "/" + SettingsFile);
    const std::optional<std::wstring> to = SystemPath(appDir + "/" + SettingsFile);
    if (!from || !to || !::CopyFileW(from->c_str(), to->c_str(), TRUE))
        return;
    // The copy keeps the attributes: a read-only file would refuse our writes.
    const DWORD attributes = ::GetFileAttributesW(to->c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        ::SetFileAttributesW(to->c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

} // namespace

std::string UserConfigAppDir(const AppDirSources& sources)
{
    const std::string settings =
        IsAbsolute(sources.XdgConfigHome) ? sources.XdgConfigHome : ChildPath(sources.Home, "AppData\\Roaming");
    const std::string trimmed = settings.find_last_not_of("/\\") == std::string::npos
                                    ? settings
                                    : settings.substr(0, settings.find_last_not_of("/\\") + 1);
    return ChildPath(trimmed, "Tarvok");
}

std::string ChooseAppDir(const AppDirSources& sources)
{
    if (WhyNotWritable(sources.ExecutableDir) == 0 && !IsInstalled(sources))
        return Backslashed(sources.ExecutableDir);
    std::string dir = UserConfigAppDir(sources);
    CreateDirWithParents(dir);
    TakeOverEarlierSettings(sources.ExecutableDir, dir);
    return dir;
}

std::optional<std::string> WhyAppDirIsMissing(const std::string& appDir)
{
    if (DirectoryExists(appDir))
        return std::nullopt;
    std::string above = appDir;
    while (!above.empty() && !Exists(above))
        above = ParentOf(above);
    const std::string cannot = "The folder cannot be made: ";
    if (above.empty() || !DirectoryExists(above))
        return cannot + SystemText(ERROR_DIRECTORY);
    if (const DWORD error = WhyNotWritable(above); error != 0)
        return cannot + SystemText(error);
    return std::string("The folder is missing");
}

std::string DetermineAppDir(const std::vector<std::string>& installedBinDirs)
{
    // The 64-bit and the 32-bit program folders; Wine lets anyone write both.
    std::vector<std::string> programFolders = installedBinDirs;
    for (const wchar_t* name : {L"ProgramFiles", L"ProgramW6432", L"ProgramFiles(x86)"})
        if (std::string folder = EnvironmentText(name); !folder.empty())
            programFolders.push_back(folder);
    return ChooseAppDir(
        {ExecutableDir(), programFolders, EnvironmentText(L"APPDATA"), EnvironmentText(L"USERPROFILE")});
}

int CopyExampleSkins(const std::string& exampleSkinDir, const std::string& appDir)
{
    const std::string skinDir = ChildPath(appDir, "Skin");
    const std::optional<std::wstring> target = SystemPath(skinDir);
    if (!target || ::GetFileAttributesW(target->c_str()) != INVALID_FILE_ATTRIBUTES ||
        !DirectoryExists(exampleSkinDir) || !::CreateDirectoryW(target->c_str(), nullptr))
        return 0;
    int copied = 0;
    for (const DirEntry& entry : ListDirectory(exampleSkinDir)) {
        if (!IsFileEntry(entry) || (entry.Attr & faSymLink) != 0)
            continue;
        const std::optional<std::wstring> from = SystemPath(ChildPath(exampleSkinDir, entry.Name));
        const std::optional<std::wstring> to = SystemPath(ChildPath(skinDir, entry.Name));
        // Never over a file that is there.
        if (from && to && ::CopyFileW(from->c_str(), to->c_str(), TRUE))
            ++copied;
    }
    return copied;
}

} // namespace tarvok::platform
