#include "core/SkinChoice.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace tarvok;
using tarvok::test::SystemPath;
using tarvok::test::TempDir;
using tarvok::test::WriteFile;

namespace {

// Skin numbers tried in order; the numbers in `present` load.
struct Loader {
    std::set<int32_t> present;
    std::vector<int32_t> tried;
    bool operator()(int32_t n)
    {
        tried.push_back(n);
        return present.count(n) > 0;
    }
};

struct StepCase {
    const char* name;
    int32_t from;
    uint16_t count;
    std::set<int32_t> present;
    bool loaded;
    int32_t skinNo;
    std::vector<int32_t> tried;
};

class StepToNextSkinTest : public ::testing::TestWithParam<StepCase> {};

} // namespace

TEST_P(StepToNextSkinTest, TriesTheNumbersInTurn)
{
    const StepCase& c = GetParam();
    Loader loader{c.present, {}};
    int32_t skinNo = c.from;
    EXPECT_EQ(StepToNextSkin(skinNo, c.count, std::ref(loader)), c.loaded);
    EXPECT_EQ(skinNo, c.skinNo);
    EXPECT_EQ(loader.tried, c.tried);
}

INSTANTIATE_TEST_SUITE_P(Cases, StepToNextSkinTest,
                         ::testing::Values(
                             // Three skins and one other file in the folder.
                             StepCase{"PastAMissingNumberToTheFirst", 2, 4, {0, 1, 2}, true, 0, {3, 0}},
                             StepCase{"FromTheBuiltInSkinToTheFirst", -1, 4, {0, 1, 2}, true, 0, {0}},
                             StepCase{"NoSkinsTriesNothing", 5, 0, {0}, false, 5, {}},
                             StepCase{"NoFileOfThePatternGivesUpAfterEachNumber", 1, 3, {}, false, 1, {2, 0, 1}},
                             StepCase{"ASavedNumberAboveTheCountWrapsIn", 9, 4, {2}, true, 2, {2}},
                             StepCase{"TheLargestNumberDoesNotOverflow", INT32_MAX, 5, {3}, true, 3, {3}},
                             StepCase{"AFarNegativeNumberComesIntoRange", -6, 4, {}, false, 3, {-1, 0, 1, 2, 3}},
                             StepCase{"ASingleSkinIsLoadedAgain", 0, 1, {0}, true, 0, {0}}),
                         [](const ::testing::TestParamInfo<StepCase>& tested) { return tested.param.name; });

TEST(SkinPath, NamesTheNumberInPlainDecimal)
{
    for (const int number : {0, 12, -1})
        EXPECT_EQ(SkinPath(SystemPath("/opt/t"), number),
                  SystemPath("/opt/t/Skin/TarvokSkin" + std::to_string(number) + ".bmp"));
}

TEST(RandomSkinNo, StaysInRangeAndReachesEveryNumber)
{
    EXPECT_EQ(RandomSkinNo(0, 1234), 0);
    std::set<int32_t> seen;
    for (uint32_t seed = 0; seed < 200; ++seed) {
        const int32_t n = RandomSkinNo(3, seed * 7919u);
        ASSERT_GE(n, 0);
        ASSERT_LT(n, 3);
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST(SkinChangeDue, InTheFirstSecondOfEachPeriodAcrossTheWrap)
{
    EXPECT_TRUE(SkinChangeDue(0, 30000));
    EXPECT_TRUE(SkinChangeDue(60999, 30000));
    EXPECT_FALSE(SkinChangeDue(61000, 30000));
    EXPECT_FALSE(SkinChangeDue(29999, 30000));
    // 2^32 - 1 leaves 17295 over the last whole period.
    EXPECT_FALSE(SkinChangeDue(UINT32_MAX, 30000));
    EXPECT_TRUE(SkinChangeDue(UINT32_MAX - 17295 + 999, 30000));
    EXPECT_FALSE(SkinChangeDue(5, 0));
}

TEST(SkinCountTest, CountFilesCountsPlainEntriesOnly)
{
    TempDir dir;
    EXPECT_EQ(CountFiles(dir / "missing"), 0);
    std::filesystem::create_directories(dir / "sub/deeper");
    WriteFile(dir / "a", "");
    WriteFile(dir / ".b", "");
    WriteFile(dir / "sub/c", "");
    int files = 2;
#ifndef _WIN32 // symbolic links are the administrator's there
    std::filesystem::create_symlink(dir / "a", dir / "link");
    ++files;
#endif
    EXPECT_EQ(CountFiles(dir.Path()), files);
}
