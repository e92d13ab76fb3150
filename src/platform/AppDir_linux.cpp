#include "platform/AppDir.h"

#include "platform/Environment.h"
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace tarvok::platform {
namespace {

// The canonical spelling, so /bin and /usr/bin compare equal on a merged-usr
// system; a folder that does not exist keeps its own spelling.
std::string Canonical(const std::string& path)
{
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

bool IsInstalledBinDir(const AppDirSources& sources)
{
    const std::string dir = Canonical(sources.ExecutableDir);
    for (const std::string& installed : sources.InstalledBinDirs)
        if (Canonical(installed) == dir)
            return true;
    return false;
}

// Writable for the effective user, as the files will be written.
bool IsWritableDir(const std::string& dir)
{
    return DirectoryExists(dir) && ::faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

std::string HomeDir(const AppDirSources& sources)
{
    if (!sources.Home.empty())
        return sources.Home;
    const passwd* user = ::getpwuid(::geteuid());
    return user && user->pw_dir ? std::string(user->pw_dir) : std::string("/");
}

// An existing folder of the user's gets the mode a new one has, so the
// settings file inside is no one else's to read, whatever made the folder.
void MakePrivate(const std::string& dir)
{
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 077) != 0)
        ::fchmod(fd, st.st_mode & 07700);
    ::close(fd);
}

// Creates dir and its missing parents, each with mode 0700.
void CreatePrivateDir(const std::string& dir)
{
    if (DirectoryExists(dir))
        return;
    const std::string parent = std::filesystem::path(dir).parent_path().string();
    if (!parent.empty() && parent != dir)
        CreatePrivateDir(parent);
    ::mkdir(dir.c_str(), 0700);
}

} // namespace

std::string ConfigHome(const AppDirSources& sources)
{
    // Relative values are invalid by the XDG rules and are ignored.
    if (!sources.XdgConfigHome.empty() && sources.XdgConfigHome.front() == '/')
        return sources.XdgConfigHome;
    return (std::filesystem::path(HomeDir(sources)) / ".config").lexically_normal().string();
}

std::string ConfigHome() { return ConfigHome({{}, {}, EnvironmentValue("XDG_CONFIG_HOME"), EnvironmentValue("HOME")}); }

std::string UserConfigAppDir(const AppDirSources& sources)
{
    return (std::filesystem::path(ConfigHome(sources)) / "Tarvok").lexically_normal().string();
}

std::string ChooseAppDir(const AppDirSources& sources)
{
    if (IsWritableDir(sources.ExecutableDir) && !IsInstalledBinDir(sources))
        return sources.ExecutableDir;
    std::string dir = UserConfigAppDir(sources);
    CreatePrivateDir(dir);
    MakePrivate(dir);
    return dir;
}

std::optional<std::string> WhyAppDirIsMissing(const std::string& appDir)
{
    if (DirectoryExists(appDir))
        return std::nullopt;
    std::filesystem::path above = appDir;
    std::error_code error;
    while (!std::filesystem::exists(above, error) && above.has_relative_path())
        above = above.parent_path();
    const std::string cannot = "The folder cannot be made: ";
    if (!DirectoryExists(above.string()))
        return cannot + std::strerror(ENOTDIR);
    if (::faccessat(AT_FDCWD, above.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return cannot + std::strerror(errno);
    return std::string("The folder is missing");
}

std::string DetermineAppDir(const std::vector<std::string>& installedBinDirs)
{
    return ChooseAppDir(
        {ExecutableDir(), installedBinDirs, EnvironmentValue("XDG_CONFIG_HOME"), EnvironmentValue("HOME")});
}

int CopyExampleSkins(const std::string& exampleSkinDir, const std::string& appDir)
{
    namespace fs = std::filesystem;
    const std::string skinDir = appDir + "/Skin";
    if (fs::exists(fs::symlink_status(skinDir)) || !DirectoryExists(exampleSkinDir))
        return 0;
    if (::mkdir(skinDir.c_str(), 0700) != 0)
        return 0;
    int copied = 0;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(exampleSkinDir, error)) {
        if (!entry.is_regular_file(error))
            continue;
        // skip_existing opens the copy with O_EXCL: never over a file that is there.
        if (fs::copy_file(entry.path(), fs::path(skinDir) / entry.path().filename(), fs::copy_options::skip_existing,
                          error))
            ++copied;
    }
    return copied;
}

} // namespace tarvok::platform
