#include "FakeDialogs.h"
#include "base/InOutError.h"
#include "ui/shell/ErrorReport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tarvok::test {
namespace {

TEST(ShellErrorReportTest, AnEscapedErrorIsShownOnceAndTheDeliveryGoesOn)
{
    FakeDialogs dialogs;
    EXPECT_FALSE(ui::DeliverReportingErrors(dialogs, []() -> bool { throw EInOutError(101); }));
    EXPECT_FALSE(ui::DeliverReportingErrors(dialogs, []() -> bool { throw std::runtime_error("Done."); }));
    EXPECT_FALSE(ui::DeliverReportingErrors(dialogs, []() -> bool { throw std::runtime_error("I/O error 28"); }));
    EXPECT_EQ(dialogs.TextsOf("error"), (std::vector<std::string>{"Disk full.", "Done.", "I/O error 28."}));
}

TEST(ShellErrorReportTest, ADeliveryWithoutErrorShowsNothing)
{
    FakeDialogs dialogs;
    EXPECT_TRUE(ui::DeliverReportingErrors(dialogs, [] { return true; }));
    EXPECT_FALSE(ui::DeliverReportingErrors(dialogs, [] { return false; }));
    EXPECT_TRUE(dialogs.Log.empty());
}

} // namespace
} // namespace tarvok::test
