#include "ui/widgets/qtprompter.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSizeGrip>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Room a title bar takes beside its text: the window icon and the close,
// minimise and maximise boxes.
constexpr int TitleBarReserve = 140;

int titleWidth(const QString &title)
{
    QFont f = QApplication::font();
    f.setBold(true);
    return QFontMetrics(f).horizontalAdvance(title);
}

// QUILLON_SHOTS=<folder> saves what the boxes look like.
void shoot(QWidget *w, const char *name)
{
    const QString shots = qEnvironmentVariable("QUILLON_SHOTS");
    if (!shots.isEmpty())
        w->grab().save(QDir(shots).filePath(QString::fromLatin1(name)));
}

} // namespace

TEST(QtPrompterBoxes, ShowTheirWholeTitle)
{
    const QString title = QStringLiteral("Save Appointment Entry");
    const auto box = ui::QtPrompter::messageBox(QStringLiteral("Saved."), title, ui::Icon::None,
                                                QMessageBox::Ok);
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    EXPECT_GE(box->width(), titleWidth(title) + TitleBarReserve);
    shoot(box.get(), "message-title.png");

    const auto input = ui::QtPrompter::inputBox(QStringLiteral("Date:"),
                                                QStringLiteral("Open Appointment Page By Date"), {});
    input->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(input.get()));
    EXPECT_GE(input->width(), titleWidth(input->windowTitle()) + TitleBarReserve);
    shoot(input.get(), "input-box.png");
    // No size grip drawing its lines under the buttons.
    for (const QSizeGrip *grip : input->findChildren<QSizeGrip *>())
        EXPECT_FALSE(grip->isVisible());
}

// A prompt longer than a line wraps in a box that fits the screen, and shows
// whole.
TEST(QtPrompterBoxes, ALongPromptWrapsInsideTheScreen)
{
    const QString prompt = QStringLiteral(
        "Please enter the time interval for this recurrent booking e.g. 1 for weekly, 2 for fortnightly, 3 for "
        "3-weekly, 4 for 4-weekly, etc (Range 1 - 12). Enter only a number.");
    const auto input = ui::QtPrompter::inputBox(prompt, QStringLiteral("Recurrent Booking"), QStringLiteral("1"));
    input->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(input.get()));
    EXPECT_TRUE(input->screen()->availableGeometry().contains(input->frameGeometry()));
    const QLabel *label = input->findChild<QLabel *>();
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), prompt);
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_GE(label->height(), 2 * label->fontMetrics().lineSpacing());
    shoot(input.get(), "input-long-prompt.png");
}

// A screen reader hears a message box's text, and the prompt as the name of
// the box an answer is typed into.
TEST(QtPrompterBoxes, ScreenReadersHearTheTextAndThePrompt)
{
    const auto box = ui::QtPrompter::messageBox(QStringLiteral("Saved."), QStringLiteral("Save"), ui::Icon::None,
                                                QMessageBox::Ok);
    QAccessibleInterface *message = QAccessible::queryAccessibleInterface(box.get());
    ASSERT_TRUE(message);
    EXPECT_EQ(message->role(), QAccessible::AlertMessage);
    EXPECT_EQ(message->text(QAccessible::Name), "Save");
    EXPECT_EQ(message->text(QAccessible::Description), "Saved.");

    const auto input = ui::QtPrompter::inputBox(QStringLiteral("Date:"), QStringLiteral("Open By Date"), {});
    auto *edit = input->findChild<QLineEdit *>();
    ASSERT_TRUE(edit);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(edit)->text(QAccessible::Name), "Date:");
}
