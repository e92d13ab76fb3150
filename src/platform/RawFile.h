#pragma once
#include <cstddef>
#include <string>

namespace tarvok::platform {

// An open file descriptor that is always closed. Errors throw EInOutError.
class RawFile {
public:
    static RawFile OpenForReading(const std::string& path);
    // Creates or truncates; missing directories are not created.
    static RawFile CreateForWriting(const std::string& path);

    RawFile(RawFile&& other) noexcept;
    RawFile& operator=(RawFile&&) = delete;
    RawFile(const RawFile&) = delete;
    ~RawFile();

    size_t Read(void* buffer, size_t size);
    size_t Write(const void* buffer, size_t size); // bytes actually stored
    void Close();
    // True when `path` names the same file as this open one (device and inode).
    bool IsSameFileAs(const std::string& path) const;

private:
    RawFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    std::string path_;
};

} // namespace tarvok::platform
