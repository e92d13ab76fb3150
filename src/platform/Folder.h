#pragma once
#include "base/InOutError.h"
#include "platform/FileSystem.h"
#include "platform/RawFile.h"

#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

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
    // a folder of the owner that file gets is the user's too. When others
    // may write into it, their write bits are cleared first, so nobody else
    // can swap what is copied in (a drive that keeps no modes is used as it is).
    static Folder OpenPrivate(const std::string& path, const std::string& probePrefix);

    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&&) = delete;
    Folder(const Folder&) = delete;
    ~Folder();

    const std::string& Path() const { return path_; }
    // Opens the folder `name` directly inside this one, refused (code 5) when
    // it is a link or not the user's right now, as OpenPrivate decides.
    Folder OpenOwnFolder(const std::string& name, const std::string& probePrefix) const;
    // Whose the entry `name` directly inside is, by the rule OpenPrivate
    // uses; a link says only whether it is the user's own, not where it leads.
    enum class Whose { User, Other, OwnLink, Missing };
    Whose WhoseEntry(const std::string& name, const std::string& probePrefix);
    // Opens the plain file `name` inside to copy from, as RawFile::OpenSource
    // does, never through a link; nothing when no plain file of the user's
    // (as WhoseEntry decides) is there.
    std::optional<RawFile> OpenOwnSource(const std::string& name, const std::string& probePrefix);
    // True when the file at `path`, or a link on the way to it in the last
    // part of the path, belongs to another user (as WhoseEntry decides).
    static bool BelongsToAnotherUser(const std::string& path, const std::string& probePrefix);
    // The entries of the open folder, as ListDirectory gives them.
    std::vector<DirEntry> List() const;
    // A new file of mode 0600 named `prefix`, this process's id and a random
    // tail; never an existing name, never through a link. It stays locked
    // until the RawFile goes, so no cleaning takes it from its writer.
    RawFile CreateTemporary(const std::string& prefix);
    // True for the names CreateTemporary gives with `prefix`, and only those.
    static bool IsTemporaryName(const std::string& name, const std::string& prefix);
    // Removes the temporaries named with `prefix` that no live copy is
    // writing (see IsAbandonedTemporary), and settles files that a kill left
    // moved aside.
    void RemoveAbandonedTemporaries(const std::string& prefix);
    bool IsAbandoned(const std::string& name) const;
    // Renames `from` over `to`, also where the drive does not rename over a
    // file; a link named `to` is replaced, not followed. A name the drive
    // cannot store is said so.
    void Replace(const std::string& from, const std::string& to);
    // Puts `from` at `to` as Replace does, a file already at `to` first
    // taking the name `keep` (see ReplaceKeepingOld: where the drive allows,
    // `to` is never free). False, with `to` as it was, when the old file
    // could not take that name (one is there already); other failures throw.
    bool ReplaceKeepingOld(const std::string& from, const std::string& to, const std::string& keep);
    // True when `name` leads to the very file `file` has open.
    bool HoldsFile(const std::string& name, const RawFile& file) const;
    bool Remove(const std::string& name);
    // No owner write bit; a link is never read-only, since removing it
    // removes nothing it leads to.
    bool IsReadOnly(const std::string& name) const;
    // As Remove, raising why the entry stays; one gone already is no error.
    void RemoveOrThrow(const std::string& name);
    // Removes the empty folder `name` only while it is still the one `opened`
    // holds, not whatever was put in its place since; gone already is no error.
    void RemoveFolderOrThrow(const std::string& name, const Folder& opened);
    // The files `names` inside and the folder's own entries reach the disk;
    // what other programs write to the drive meanwhile is not waited for.
    void Flush(const std::vector<std::string>& names);

private:
    // `prefix`, the process id, "-" and six random letters or digits.
    static std::string NewTemporaryName(const std::string& prefix, unsigned long processId);
    // Refuses (code 3) a name that is no single name inside the folder.
    void CheckName(const std::string& name) const;
    [[noreturn]] void ThrowRenameError(int error, const std::string& to) const;
    // The owner the mount gives a file made in the folder.
    unsigned OwnerOfNewFiles(const std::string& probePrefix);
    // The folder's status; refused when it is not the user's (see OpenPrivate).
    struct stat OwnStatus(const std::string& probePrefix);
    Folder(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    int fd_;
    std::string path_;
};

} // namespace tarvok::platform
