#include "ui/widgets/qtprompter.h"

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
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
