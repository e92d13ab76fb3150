#pragma once
#include <algorithm>
#include <string>

namespace tarvok::test {

// A test path written with '/' spelled as the program spells the paths it
// makes on this system: with '\' between the parts on Windows.
inline std::string SystemPath(std::string path)
{
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}

} // namespace tarvok::test
