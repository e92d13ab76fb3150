#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tarvok {

inline constexpr const char* SkinFolder = "Skin";

// The file of skin `skinNo`: appDir/Skin/TarvokSkin<n>.bmp, the number in
// plain decimal (so -1 names a file that normally does not exist).
std::string SkinPath(const std::string& appDir, int32_t skinNo);

// The bytes of a skin file of at most `maxBytes`. Anyone who may write the
// Skin folder may put a link or a pipe in a skin's place at any moment: the
// file is read once, from a descriptor that neither follows links nor waits.
// Nothing when it is not such a file.
std::optional<std::string> ReadSkinFile(const std::string& path, uint64_t maxBytes);

// The plain files in `dir` (the skin count); 0 when it cannot be listed.
uint16_t CountFiles(const std::string& dir);

// A start skin number from 0 to skinCount - 1 (0 when there are none).
int32_t RandomSkinNo(uint16_t skinCount, uint32_t seed);

// Steps `skinNo` on, wrapping at `skinCount`, until `load` accepts the skin
// of the number reached; gives up once every number from 0 to
// skinCount - 1 has been tried, leaving `skinNo` at the last one tried.
// With no skins nothing is tried. True when a skin was loaded.
bool StepToNextSkin(int32_t& skinNo, uint16_t skinCount, const std::function<bool(int32_t)>& load);

// The timely change falls in the first second of every period of the
// milliseconds since boot, so it comes about once a period with one-second ticks.
bool SkinChangeDue(uint32_t ticksSinceBoot, uint32_t period);

} // namespace tarvok
