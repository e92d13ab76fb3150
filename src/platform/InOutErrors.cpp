#include "base/InOutError.h"
#include "base/VisibleText.h"
#include "platform/FileSystem.h"
#include "platform/MountTable.h"
#include "platform/PathRules.h"
#include "platform/SystemErrors.h"

#include <cerrno>

namespace tarvok::platform {
namespace {

// The folder the path's last part lies in; "." for a bare name.
std::string FolderOf(const std::string& path)
{
    const size_t pos = path.find_last_of(PathSeparators());
    if (pos == std::string::npos)
        return ".";
    return pos == 0 ? path.substr(0, 1) : path.substr(0, pos);
}

} // namespace

EInOutError InOutErrorFromErrno(int error, const std::string& path)
{
    if (std::optional<EInOutError> own = SystemOwnError(error))
        return *own;
    int code = 0;
    switch (error) {
    case ENOENT: code = DirectoryExists(FolderOf(path)) ? 2 : 3; break;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL: code = 3; break;
    case EMFILE:
    case ENFILE: code = 4; break;
    case EROFS: return EInOutError(5, "The drive is read-only");
    case ENOTCONN:
    case ECONNABORTED:
    case ECONNRESET:
    case ETIMEDOUT:
#ifdef EHOSTDOWN
    case EHOSTDOWN:
#endif
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
#ifdef ESTALE
    case ESTALE:
#endif
    {
        // A share whose server or FUSE process went away; the mount table
        // alone says which drive that is, without asking the dead drive.
        const std::string root = MountRootOf(MountedFileSystems(), path);
        return EInOutError(error, "The drive " + (root.empty() ? std::string() : VisibleName(root) + " ") +
                                      "is no longer reachable");
    }
    case EFBIG: return EInOutError(101, "The file is too large for the drive");
    case EILSEQ: code = 3; break;
    case EACCES:
    case EPERM:
    case EISDIR:
    case ETXTBSY: code = 5; break;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        code = 101;
        break;
    default: break;
    }
    // Codes without a standard text are shown by their errno value.
    return code != 0 ? EInOutError(code) : EInOutError(error, "I/O error " + std::to_string(error));
}

void ThrowInOutError(int error, const std::string& path) { throw InOutErrorFromErrno(error, path); }

} // namespace tarvok::platform
