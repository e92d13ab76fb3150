#pragma once
#include "platform/RawFile.h"

#include <string>

namespace tarvok::platform {

// An open directory that copies are written into. Names are resolved inside
// the opened directory itself, so swapping the path for a link after the
// open changes nothing. Errors throw EInOutError.
class Folder {
public:
    // Opens the directory at `path`, following a link as the user expects.
    static Folder Open(const std::string& path);
    // Makes a directory for the user alone (mode 0700), one level.
    static bool CreatePrivate(const std::string& path);
    // Opens a directory kept for the user alone; refused when it is a link
    // or belongs to anyone but the user or root.
    static Folder OpenPrivate(const std::string& path);

    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&&) = delete;
    Folder(const Folder&) = delete;
    ~Folder();

    const std::string& Path() const { return path_; }
    // A new file of mode 0600 named `prefix`, this process's id and a random
    // tail; never an existing name, never through a link.
    RawFile CreateTemporary(const std::string& prefix);
    // Removes the files named `prefix` that other processes made and left.
    void RemoveOthersTemporaries(const std::string& prefix);
    // Renames `from` over `to`; a link named `to` is replaced, not followed.
    void Replace(const std::string& from, const std::string& to);
    bool Remove(const std::string& name);
    // Everything written into the folder's file system reaches the disk.
    void Flush();

private:
    Folder(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    std::string path_;
};

} // namespace tarvok::platform
