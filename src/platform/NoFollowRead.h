#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace tarvok::platform {

// The whole contents of the plain file at `path`, for files that others may
// swap (a shared folder): one descriptor, opened without following a link
// in the last part of the path and without blocking, so a link or a FIFO
// put there between a look and the read can neither redirect nor hang the
// program; its kind and size are checked on that descriptor. Nothing when
// no plain file of at most `maxSize` bytes is there or it cannot be read.
std::optional<std::string> ReadPlainFileNoFollow(const std::string& path, uint64_t maxSize);

} // namespace tarvok::platform
