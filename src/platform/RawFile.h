#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tarvok::platform {

// An open file descriptor that is always closed. Errors throw EInOutError.
class RawFile {
public:
    // Opens a file to copy from. The open does not block (a FIFO put in its
    // place cannot hang the program) and the kind is checked on the open
    // handle: nothing when no regular file is there, so no device is read.
    static std::optional<RawFile> OpenSource(const std::string& path);

    RawFile(RawFile&& other) noexcept;
    RawFile& operator=(RawFile&&) = delete;
    RawFile(const RawFile&) = delete;
    ~RawFile();

    size_t Read(void* buffer, size_t size);
    size_t Write(const void* buffer, size_t size); // bytes actually stored
    void Close();                                  // a temporary stays locked until the object goes

    const std::string& Path() const { return path_; }
    uint64_t SizeAtOpen() const { return size_; }
    uint32_t ModeAtOpen() const { return mode_; } // permission bits
    // For a file just made: a drive that cannot store modes keeps its own.
    void SetMode(uint32_t mode);
    void Flush(); // the data reaches the disk
    // The data starts on its way to the disk without waiting for it, so a
    // later flush of this file alone finds little left to do.
    void StartWriteBack();

private:
    friend class Folder;
    RawFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    int lock_ = -1; // holds a temporary's lock until the file is let go, after Close

    std::string path_;
    uint64_t size_ = 0;
    uint32_t mode_ = 0;
};

} // namespace tarvok::platform
