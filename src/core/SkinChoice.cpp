#include "core/SkinChoice.h"

#include "core/FileUtility.h"
#include "platform/FileSystem.h"

#include <random>
#include <vector>

namespace tarvok {

std::string SkinPath(const std::string& appDir, int32_t skinNo)
{
    return JoinPath(JoinPath(appDir, SkinFolder), "TarvokSkin" + std::to_string(skinNo) + ".bmp");
}

std::optional<std::string> ReadSkinFile(const std::string& path, uint64_t maxBytes)
{
    return platform::ReadPlainFileNoFollow(path, maxBytes);
}

uint16_t CountFiles(const std::string& dir)
{
    uint16_t count = 0;
    for (const platform::DirEntry& entry : platform::ListDirectory(dir))
        if (platform::IsFileEntry(entry))
            ++count;
    return count;
}

int32_t RandomSkinNo(uint16_t skinCount, uint32_t seed)
{
    if (skinCount == 0)
        return 0;
    std::minstd_rand random(seed);
    return std::uniform_int_distribution<int32_t>(0, skinCount - 1)(random);
}

bool StepToNextSkin(int32_t& skinNo, uint16_t skinCount, const std::function<bool(int32_t)>& load)
{
    if (skinCount == 0)
        return false;
    // Widened, so the largest saved number steps on instead of overflowing;
    // a negative number keeps the sign of the remainder, as it always has.
    std::vector<bool> tried(skinCount, false);
    uint16_t untried = skinCount;
    while (untried > 0) {
        skinNo = static_cast<int32_t>((int64_t(skinNo) + 1) % skinCount);
        if (skinNo >= 0 && !tried[skinNo]) {
            tried[skinNo] = true;
            --untried;
        }
        if (load(skinNo))
            return true;
    }
    return false;
}

bool SkinChangeDue(uint32_t ticksSinceBoot, uint32_t period)
{
    return period != 0 && uint64_t(ticksSinceBoot) % period < 1000;
}

} // namespace tarvok
