// Two stations on the weekday templates: what one station stores is never
// erased by the other's template step made over an older reading.
#include "book/pages/pagestore.h"
#include "book/pages/pagetext.h"
#include "setup/core/templatecontroller.h"
#include "store/core/database.h"
#include "support/station.h"

#include <gtest/gtest.h>

#include <memory>

using setup::TemplateController;

namespace {

class SetupStations : public testsupport::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        for (auto *s : {&a, &b})
            ASSERT_TRUE(s->open(store).ok());
    }
    void TearDown() override
    {
        for (auto *s : {&a, &b})
            EXPECT_TRUE(s->prompter.failures().isEmpty()) << s->prompter.failures().join('\n').toStdString();
    }

    QVariant setting(const char *field) { return a.db.scalar(QStringLiteral("SELECT %1 FROM tbl_Setup").arg(field)); }
    QString monday(int row, int col)
    {
        return book::page::cellAt(book::page::decode(setting("Mon").toString()), row, col);
    }

    // The template window on Monday, past its instructions.
    static std::unique_ptr<TemplateController> templatesAt(testsupport::Station<> &s)
    {
        auto c = std::make_unique<TemplateController>(s.services);
        EXPECT_TRUE(c->load(1.0));
        s.prompter.expectMessage();
        c->activate();
        return c;
    }
    static void type(TemplateController &c, int row, int col, const QString &text)
    {
        c.grid().setCursor(row, col);
        c.gridKeyPress(QChar(13));
        c.setEditorText(text);
        c.editorKeyPress(QChar(9));
    }

    testsupport::Station<> a, b;
};

TEST_P(SetupStations, EachTemplateStepKeepsTheOtherStationsCellsAndFlag)
{
    auto onA = templatesAt(a), onB = templatesAt(b);
    type(*onB, 4, 2, "Dr Brook away");
    onB->statusChosen(1);
    ASSERT_TRUE(onB->finishStep());
    type(*onA, 3, 1, "Lunch");
    ASSERT_TRUE(onA->finishStep());

    EXPECT_EQ(monday(3, 1), "Lunch");
    EXPECT_EQ(monday(4, 2), "Dr Brook away");
    EXPECT_TRUE(store::Database::toBool(setting("chk2")));
}

TEST_P(SetupStations, ATemplateCellChangedAtBothStationsIsRefusedAndKeptInTheGrid)
{
    auto onA = templatesAt(a), onB = templatesAt(b);
    type(*onB, 3, 1, "Meeting");
    type(*onB, 6, 3, "Dr Chen late");
    ASSERT_TRUE(onB->finishStep());

    type(*onA, 3, 1, "Lunch");
    type(*onA, 5, 2, "Dr Brook away");
    a.prompter.expectMessage();
    EXPECT_FALSE(onA->finishStep());
    EXPECT_EQ(a.prompter.last().title, "Configure Page Templates");
    EXPECT_EQ(a.prompter.last().text,
              "Another station has changed the Monday template since it was shown here:\n\n"
              "08:00 AM Dr Avery: \"Meeting\"\n\n"
              "Nothing was stored. Your entries are still in the grid, with the other station's changes in the "
              "cells you left alone; press F7 or Tue again to store your entries in their place.");
    EXPECT_EQ(monday(3, 1), "Meeting");
    EXPECT_EQ(monday(5, 2), "");
    EXPECT_EQ(onA->dayCaption(), "Monday");
    EXPECT_EQ(onA->grid().textMatrix(3, 1), "Lunch");
    EXPECT_EQ(onA->grid().textMatrix(5, 2), "Dr Brook away");
    EXPECT_EQ(onA->grid().textMatrix(6, 3), "Dr Chen late");

    ASSERT_TRUE(onA->finishStep());
    EXPECT_EQ(monday(3, 1), "Lunch");
    EXPECT_EQ(monday(5, 2), "Dr Brook away");
    EXPECT_EQ(monday(6, 3), "Dr Chen late");
    EXPECT_EQ(onA->dayCaption(), "Tuesday");
}

QUILLON_BOTH_ENGINES(SetupStations);

} // namespace
