#include "support/doubles/scriptedprompter.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

// The scripted prompter fails a test by itself, so no test can pass over a
// prompt it did not expect.
TEST(ScriptedPrompter, FailsOnUnexpectedWrongKindAndUnansweredPrompts)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ui::ScriptedPrompter p;
            p.message("Surprise", "Title", ui::Icon::None);
        },
        "unexpected message: \"Surprise\" (Title)");
    EXPECT_NONFATAL_FAILURE(
        {
            ui::ScriptedPrompter p;
            p.answerYes();
            p.message("Not a question", "Title", ui::Icon::None);
        },
        "expected a question but got a message");
    EXPECT_NONFATAL_FAILURE({ ui::ScriptedPrompter p; p.answerInput("x"); },
                            "1 scripted answer(s) never asked for; the first is for a input box");
}
