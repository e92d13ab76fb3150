#pragma once
#include "core/InOutError.h"
#include "platform/RawFile.h"

#include <optional>
#include <string>

namespace tarvok::platform {

// An open directory that copies are written into. Names are resolved inside
// the opened directory itself, so swapping the path for a link after the
// open changes nothing. Errors throw EInOutError.
class Folder {
public:
    // Opens the directory at `path`, following a link as the user expects.
    static Folder Open(const std::string& path);
    // Makes a directory for the user alone (mode 0700), one level; nothing
    // when made, else the error that kept it from being made.
    static std::optional<EInOutError> MakePrivate(const std::string& path);
    // Opens a directory kept for the user alone; refused when it is a link
    // or belongs to anyone but the user or root. A mount that shows its
    // files as another user's (a share mapped to the server's account) is
    // recognised by a file made there, named `probePrefix` and a random tail:
    // a folder of the owner that file gets is the user's too.
    static Folder OpenPrivate(const std::string& path, const std::string& probePrefix);

    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&&) = delete;
    Folder(const Folder&) = delete;
    ~Folder();

    const std::string& Path() const { return path_; }
    // A new file of mode 0600 named `prefix`, this process's id and a random
    // tail; never an existing name, never through a link.
    RawFile CreateTemporary(const std::string& prefix);
    // Removes the files named `prefix` that other processes made and left,
    // and settles files that a kill left moved aside.
    void RemoveOthersTemporaries(const std::string& prefix);
    // Renames `from` over `to`, also where the drive does not rename over a
    // file; a link named `to` is replaced, not followed. A name the drive
    // cannot store is said so.
    void Replace(const std::string& from, const std::string& to);
    bool Remove(const std::string& name);
    // Everything written into the folder's file system reaches the disk.
    void Flush();

private:
    // The owner the mount gives a file made in the folder.
    unsigned OwnerOfNewFiles(const std::string& probePrefix);
    Folder(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    std::string path_;
};

} // namespace tarvok::platform
