#include "core/WindowSearch.h"
#include "FakeDesktop.h"

#include <gtest/gtest.h>

namespace tarvok::test {
namespace {

struct SearchCase {
    const char* Name;
    std::string Title;
    std::string ClassName;
    WindowHandle Expected;
};

class WindowSearchTest : public ::testing::TestWithParam<SearchCase> {
protected:
    WindowSearchTest()
    {
        desktop.Windows = {
            {1, "", "Untitled"},
            {2, "Welcome To HiNet - Microsoft Internet Explorer", "IEFrame"},
            {3, "Welcome To HiNet - MicroSsoft Internet Explorer - [offline]", "Browser"},
            {4, "Welcome To HiNet - MicroSsoft Internet Explorer", "IEFrame"},
            {5, "notes.txt - Editor", "XTerm"},
        };
    }
    FakeDesktop desktop;
};

TEST_P(WindowSearchTest, FindsTheFirstWindowThatMatches)
{
    const SearchCase& c = GetParam();
    EXPECT_EQ(FindWindowByTitle(desktop, c.Title, c.ClassName), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, WindowSearchTest,
    ::testing::Values(
        SearchCase{"TitleFollowedByMoreText", "Welcome To HiNet - MicroSsoft Internet Explorer", "", 3},
        SearchCase{"SubstringInTheMiddle", "Editor", "", 5}, SearchCase{"LetterCaseCounts", "welcome to hinet", "", 0},
        SearchCase{"EmptyTitleNeverMatches", "", "", 0},
        SearchCase{"ClassFilterSkipsEarlierTitles", "MicroSsoft", "IEFrame", 4},
        SearchCase{"ClassSubstring", "HiNet", "Frame", 2}, SearchCase{"ClassLetterCaseCounts", "HiNet", "ieframe", 0},
        SearchCase{"WindowWithoutTitleIsSkipped", "Untitled", "", 0}, SearchCase{"NothingMatches", "Netscape", "", 0}),
    [](const ::testing::TestParamInfo<SearchCase>& tested) { return std::string(tested.param.Name); });

TEST_F(WindowSearchTest, TheSearchStopsAtTheMatchAndReadsNoClassWhenAnyClassWill)
{
    EXPECT_EQ(FindWindowByTitle(desktop, "HiNet", ""), 2u);
    EXPECT_EQ(desktop.Visited, 2);
    EXPECT_EQ(desktop.ClassReads, 0);
}

TEST_F(WindowSearchTest, TheCallbackStoresTheMatchAndStops)
{
    FindWindowRec rec{"Editor", "", 0};
    EXPECT_TRUE(MatchWindowProc(desktop, 2, rec));
    EXPECT_EQ(rec.Found, 0u);
    EXPECT_FALSE(MatchWindowProc(desktop, 5, rec));
    EXPECT_EQ(rec.Found, 5u);
}

TEST(WindowSearchTextTest, OnlyTheFirst255CharactersOfATitleCount)
{
    FakeDesktop desktop;
    desktop.Windows = {{7, std::string(250, '.') + "needle", "X"}};
    EXPECT_EQ(FindWindowByTitle(desktop, "needl", ""), 7u);
    EXPECT_EQ(FindWindowByTitle(desktop, "needle", ""), 0u);
}

} // namespace
} // namespace tarvok::test
