// What the book hands to the desktop: a column exported as text, the
// practice's spreadsheet.
#include "bookfixture.h"

#include "book/pages/blockops.h"

#include <QFile>

using namespace booktest;

namespace {

class BookExport : public BookTest {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(st.prompter.failures().isEmpty()) << st.prompter.failures().join("\n").toStdString();
        EXPECT_TRUE(st.prompter.allAnswered());
    }
};

TEST_P(BookExport, AnExportedColumnOpensAsAFileAndACopiedBlockStillPastes)
{
    st.type(3, 2, "Smith\nnew patient");
    st.book->session().grid().setCursor(3, 2);
    st.book->blocks().copy();
    st.book->exportColumn();

    ASSERT_EQ(st.desktop.opened.size(), 1);
    const QString path = st.desktop.opened[0];
    EXPECT_TRUE(path.endsWith("Reports/Appointment Schedule 2026-12-08 column 2 2026-12-08 09.00.00.txt"))
        << path.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.startsWith("Appointment Schedule:  " + st.book->session().dateCaption() + "  Tuesday\r\n\r\n"));
    EXPECT_TRUE(text.contains("\r\n08:00 AM  Smith\r\n          new patient\r\n")) << text.toStdString();

    st.book->session().grid().setCursor(6, 1);
    st.book->blocks().paste();
    EXPECT_EQ(st.stored(Today, 6, 1), "Smith\nnew patient");
}

TEST_P(BookExport, InfoOpensTheSpreadsheetOrSaysWhyNot)
{
    st.prompter.expectMessage();
    st.book->openSpreadsheet();
    EXPECT_EQ(st.prompter.last().text, "File not found");
    EXPECT_EQ(st.prompter.last().title, "Info");

    QFile sheet(QDir(st.state.places.data()).filePath("Info.xls"));
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.close();
    st.desktop.opens = false;
    st.prompter.expectMessage();
    st.book->openSpreadsheet();
    EXPECT_EQ(st.prompter.last().text, "No association for file extension");

    st.desktop.opens = true;
    st.book->openSpreadsheet();
    EXPECT_EQ(st.desktop.opened.size(), 2);
    EXPECT_TRUE(st.desktop.opened.back().endsWith("/Info.xls"));
}

QUILLON_BOTH_ENGINES(BookExport);

} // namespace
