#include "ui/widgets/texteditorwindow.h"

#include "support/station.h"
#include "ui/core/textdelivery.h"
#include "ui/widgets/windowregistry.h"

#include <QFile>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

struct TextWindowTest : ::testing::Test, testsupport::Station<ui::WindowRegistry> {
    TextWindowTest()
    {
        windows.setServices(&services);
        ui::registerTextWindow(windows);
    }
    ui::TextEditorWindow *window()
    {
        return qobject_cast<ui::TextEditorWindow *>(windows.window(ui::win::TextEditor));
    }
    testsupport::TestDir dir;
};

TEST_F(TextWindowTest, ShowsEachDeliveryAndKeepsChangesUnlessTheUserAgrees)
{
    ui::deliverText(services, "Appointments History", "Appointments History:  Smith\r\n\r\n  line\r\n");
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(window()->windowTitle(), "Appointments History");
    EXPECT_EQ(window()->text(), "Appointments History:  Smith\n\n  line\n");

    auto *box = window()->findChild<QPlainTextEdit *>("txtText");
    box->appendPlainText("my note");
    prompter.answerNo();
    ui::deliverText(services, "Export", "other");
    EXPECT_TRUE(window()->text().contains("my note"));
    prompter.answerYes();
    ui::deliverText(services, "Export", "other");
    EXPECT_EQ(window()->text(), "other");

    const QString path = dir.file("out.txt");
    ASSERT_TRUE(window()->saveTo(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("other"));
    prompter.expectMessage();
    EXPECT_FALSE(window()->saveTo(dir.file("no/such/folder/out.txt")));
    EXPECT_EQ(prompter.last().title, "Save As");
}

} // namespace
