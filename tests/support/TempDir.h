#pragma once
#include "SystemPath.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#ifdef _WIN32
#include <random>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tarvok::test {

// A fresh directory for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir()
    {
#ifdef _WIN32
        // Named with '\' between its parts, as the program's paths are.
        std::random_device random;
        std::filesystem::path made;
        do
            made = std::filesystem::temp_directory_path() / ("tarvok-test-" + std::to_string(random()));
        while (!std::filesystem::create_directory(made));
        const std::u8string text = made.generic_u8string();
        path_ = SystemPath(std::string(text.begin(), text.end()));
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "tarvok-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
#endif
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // `name` may hold '/' between its own parts.
    std::string operator/(const std::string& name) const { return SystemPath(path_ + "/" + name); }

private:
    std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& contents)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The permission bits of the entry at `path` itself (a link is not
// followed), or 0 when there is none.
inline unsigned ModeOf(const std::string& path)
{
#ifdef _WIN32
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, ec);
    return ec || !std::filesystem::exists(status) ? 0 : static_cast<unsigned>(status.permissions()) & 07777;
#else
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
#endif
}

// The names directly inside `dir`; none when it cannot be read.
inline std::set<std::string> EntriesOf(const std::string& dir)
{
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
        names.insert(e.path().filename().string());
    return names;
}

// Root ignores permissions; nobody does on Windows.
#ifdef _WIN32
inline bool RunningAsRoot() { return false; }
#else
inline bool RunningAsRoot() { return ::geteuid() == 0; }
#endif

} // namespace tarvok::test
