#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace tarvok::test {

// The UTF-8 text of a path, '/' between its parts, as the program names files.
inline std::string Utf8Path(const std::filesystem::path& path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

inline std::filesystem::path PathOf(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A fresh folder for one test on either system, removed with everything in
// it afterwards, read-only files too.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::random_device random;
        do
            path_ = std::filesystem::temp_directory_path() / ("tarvok-scratch-" + std::to_string(random()));
        while (!std::filesystem::create_directory(path_));
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        for (std::filesystem::recursive_directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path() const { return Utf8Path(path_); }
    std::string operator/(const std::string& name) const { return Path() + "/" + name; }

private:
    std::filesystem::path path_;
};

inline void Put(const std::string& path, const std::string& contents)
{
    std::ofstream out(PathOf(path), std::ios::binary | std::ios::trunc);
    out << contents;
}

inline std::string Get(const std::string& path)
{
    std::ifstream in(PathOf(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void MakeReadOnly(const std::string& path)
{
    std::filesystem::permissions(PathOf(path),
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
}

} // namespace tarvok::test
