#include "app/core/textwindows.h"

#include "store/core/seed.h"
#include "support/station.h"
#include "ui/core/windows.h"

#include <gtest/gtest.h>

using namespace app;

namespace {

class TextWindowsTest : public ::testing::Test, protected testsupport::Station<> {
protected:
    void SetUp() override { ASSERT_TRUE(open(dir).ok()); }

    testsupport::TestDir dir;
};

} // namespace

TEST_F(TextWindowsTest, SecondHelpTextHoldsForOneShowingOnly)
{
    TextWindows texts(services);
    EXPECT_EQ(texts.helpText(), store::seed::helpText());
    EXPECT_EQ(texts.helpField(), "Help");

    state.helpField = QStringLiteral("Help2");
    EXPECT_EQ(texts.helpText(), store::seed::help2Text());
    EXPECT_EQ(texts.helpField(), "Help2");
    // The book's F1 afterwards shows the first help text again.
    EXPECT_EQ(state.helpField, "Help");
    EXPECT_EQ(texts.helpText(), store::seed::helpText());
    EXPECT_TRUE(prompter.transcript().empty());
}

TEST_F(TextWindowsTest, ReadmeIsReadFromTheDatabaseEachTime)
{
    TextWindows texts(services);
    EXPECT_EQ(texts.readmeText(), store::seed::readmeText());
    db.exec(QStringLiteral("UPDATE tbl_Setup SET Readme = ?"), {QStringLiteral("Changed")});
    EXPECT_EQ(texts.readmeText(), "Changed");
}

TEST_F(TextWindowsTest, UnknownFieldIsReportedNotThrown)
{
    TextWindows texts(services);
    state.helpField = QStringLiteral("Help3");
    prompter.expectMessage();
    EXPECT_EQ(texts.helpText(), QString());
    ASSERT_EQ(prompter.transcript().size(), 1u);
    EXPECT_EQ(prompter.last().title, "Help File");
    EXPECT_TRUE(prompter.last().text.startsWith("3265 ")) << prompter.last().text.toStdString();
}
