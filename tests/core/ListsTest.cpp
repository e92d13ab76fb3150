#include "SystemPath.h"
#include "core/FileUtility.h"

#include <gtest/gtest.h>

#include <utility>

using namespace tarvok;
using tarvok::test::SystemPath;

namespace {
std::vector<std::string> Names(const ProjectList& list)
{
    std::vector<std::string> names;
    for (const PrjRec& r : list)
        names.push_back(r.Name);
    return names;
}
} // namespace

TEST(ProjectListPrimitives, AddGetIndexAndDelete)
{
    ProjectList list;
    EXPECT_EQ(GetPrj(list, 0), nullptr);
    PrjRec* a = AddPrj(list, PrjRec{"a", "/a", 1, 2, 3, 1});
    PrjRec* b = AddPrj(list, PrjRec{"b", "/b"});
    PrjRec* c = AddPrj(list, PrjRec{"c", "/c"});
    EXPECT_EQ(CountPrj(list), 3);
    EXPECT_EQ(GetPrj(list, 0), a);
    EXPECT_EQ(GetPrj(list, 2), c);
    EXPECT_EQ(GetPrj(list, -1), nullptr);
    EXPECT_EQ(GetPrj(list, 3), nullptr);
    EXPECT_EQ(IndexOfPrj(list, b), 1);
    PrjRec stranger{"b", "/b"};
    EXPECT_EQ(IndexOfPrj(list, &stranger), -1) << "identity, not names";

    DelPrj(list, b);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(a->Period, 1) << "other records keep their addresses";
    DelPrj(list, a);
    EXPECT_EQ(GetPrj(list, 0), c);
    DelPrj(list, c);
    EXPECT_TRUE(list.empty());
    DelPrj(list, c); // empty list: nothing happens
    ClearPrjList(list);
    EXPECT_EQ(CountPrj(list), 0);
}

TEST(FileListPrimitives, PositionsAndDeletion)
{
    FileList list;
    for (const char* name : {"/x/1", "/x/2", "/x/3"})
        AddFile(list, FileRec{name, 1, 1});
    EXPECT_EQ(list.front().Selected, 0) << "a new entry starts unselected";
    EXPECT_EQ(GetFileAt(list, 1)->FileName, "/x/1");
    EXPECT_EQ(GetFileAt(list, 3)->FileName, "/x/3");
    EXPECT_EQ(GetFileAt(list, 4), nullptr);
    EXPECT_EQ(GetFileAt(list, 0), nullptr);
    EXPECT_EQ(GetFile(list, 0)->FileName, "/x/1");
    EXPECT_EQ(GetFile(list, -1), nullptr);
    EXPECT_EQ(GetFile(list, 3), nullptr);

    auto next = DelFile(list, std::prev(list.end()));
    EXPECT_EQ(next, list.end());
    EXPECT_EQ(list.back().FileName, "/x/2");
    next = DelFile(list, list.begin());
    EXPECT_EQ(next->FileName, "/x/2");
    ClearFileList(list);
    EXPECT_TRUE(list.empty());
}

TEST(PathHelpers, NameAndDirectoryParts)
{
    EXPECT_EQ(FileNamePart("/home/u/a.txt"), "a.txt");
    EXPECT_EQ(FileNamePart("a.txt"), "a.txt");
    EXPECT_EQ(FileNamePart("/home/u/"), "");
    EXPECT_EQ(DirectoryPart("/home/u/a.txt"), "/home/u");
    EXPECT_EQ(DirectoryPart("/a.txt"), "/");
    EXPECT_EQ(JoinPath(SystemPath("/b"), "03_07_09"), SystemPath("/b/03_07_09"));
}

TEST(PathHelpers, TrailingSeparatorsGoButTheRootKeepsItsOwn)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/data/save/", "/data/save"},
        {"/data/save///", "/data/save"},
        {"/data/save", "/data/save"},
        {"/", "/"},
        {"///", "/"},
        {"", ""},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(WithoutTrailingSeparators(path), expected) << path;
}
