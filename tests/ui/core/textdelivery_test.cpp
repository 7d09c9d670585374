#include "support/station.h"
#include "ui/core/textdelivery.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

struct TextDelivery : testing::Test {
    testsupport::TestDir dir;
    testsupport::Station<> st;
    TextDelivery() { st.state.places.setData(dir.path()); }
    QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
};

TEST_F(TextDelivery, WritesAFileOfItsOwnAndOpensItWithoutTouchingTheClipboard)
{
    st.clipboard.setText("copied block");
    const QString text = "Appointment Schedule:  \r\n  Zoë\r\n";
    const QString first = ui::deliverText(st.services, "Column Export", text);
    const QString second = ui::deliverText(st.services, "Column Export", "again");
    EXPECT_EQ(first, dir.file("Reports/Column Export 2026-12-08 09.00.00.txt"));
    EXPECT_EQ(second, dir.file("Reports/Column Export 2026-12-08 09.00.00 (2).txt"));
    EXPECT_EQ(read(first), text.toUtf8());
    EXPECT_EQ(st.desktop.opened, (QStringList{first, second}));
    EXPECT_EQ(st.clipboard.text(), "copied block");
    EXPECT_TRUE(st.windows.log().isEmpty());
}

TEST_F(TextDelivery, WithoutAnEditorOrAFolderTheTextWindowShowsIt)
{
    st.desktop.opens = false;
    const QString path = ui::deliverText(st.services, "Appointments History", "lines");
    EXPECT_EQ(st.windows.log(), QStringList{"show frmText"});
    EXPECT_EQ(st.state.report.text, "lines");
    EXPECT_EQ(st.state.report.path, path);
    EXPECT_TRUE(st.state.report.note.startsWith("Saved as ")) << st.state.report.note.toStdString();

    // A file stands where the folder should be: nothing is written, the text is still shown.
    st.desktop.opens = true;
    st.state.places.setData(dir.file("plain"));
    QFile blocker(dir.file("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(ui::deliverText(st.services, "Appointments History", "kept"), "");
    EXPECT_EQ(st.state.report.text, "kept");
    EXPECT_TRUE(st.state.report.note.startsWith("The folder ")) << st.state.report.note.toStdString();
    EXPECT_EQ(st.desktop.opened.size(), 1);
}

} // namespace
