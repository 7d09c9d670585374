#include "ui/widgets/accessibletable.h"
#include "ui/widgets/gridview.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using ui::GridModel;
using ui::GridView;

namespace {

// What a screen reader was told: the event, and the text of the cell it names.
struct Heard {
    QAccessible::Event type;
    int child;
    QString name;
};
std::vector<Heard> g_heard;

void listen(QAccessibleEvent &e)
{
    QAccessibleInterface *iface = e.child() >= 0 ? e.accessibleInterface() : nullptr;
    g_heard.push_back({e.type(), e.child(), iface ? iface->text(QAccessible::Name) : QString()});
}

// A page as the book lays it out: a number row and a consultant row, a time
// column, bookings in the cells.
class GridAccessibleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&window);
        view = new GridView;
        layout->addWidget(view);
        GridModel *m = view->model();
        m->beginUpdate();
        m->setRows(8);
        m->setCols(3);
        m->setFixedRows(2);
        m->setFixedCols(1);
        m->setTextMatrix(0, 1, "1");
        m->setTextMatrix(0, 2, "2");
        m->setTextMatrix(1, 1, "Dr Brown");
        m->setTextMatrix(1, 2, "Dr Green");
        for (int r = 2; r < 8; ++r)
            m->setTextMatrix(r, 0, QString("%1:00").arg(7 + r));
        m->setTextMatrix(2, 1, "Smith\nJohn 0123 456");
        m->setCellColor(2, 1, ui::colours::Red);
        m->setCellColor(3, 1, ui::colours::PaleYellow);
        m->setCellColor(3, 2, 0x123456);
        m->setCursor(2, 1);
        m->endUpdate();
        window.resize(400, 300);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        view->setFocus();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        ui::setReaderListener({});
        g_heard.clear();
    }

    static QStringList names(const QList<QAccessibleInterface *> &cells)
    {
        QStringList out;
        for (QAccessibleInterface *c : cells)
            out << c->text(QAccessible::Name);
        return out;
    }

    QWidget window;
    GridView *view = nullptr;
};

} // namespace

TEST_F(GridAccessibleTest, TableReadsEachCellWithItsTimeConsultantAndColour)
{
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(view);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface *t = table->tableInterface();
    ASSERT_TRUE(t);
    EXPECT_EQ(t->rowCount(), 8);
    EXPECT_EQ(t->columnCount(), 3);

    QAccessibleInterface *booking = t->cellAt(2, 1);
    ASSERT_TRUE(booking && booking->tableCellInterface());
    EXPECT_EQ(booking->role(), QAccessible::Cell);
    EXPECT_EQ(booking->text(QAccessible::Name), "Smith, John 0123 456");
    EXPECT_EQ(booking->text(QAccessible::Description), "Red");
    EXPECT_EQ(names(booking->tableCellInterface()->rowHeaderCells()), QStringList({"9:00"}));
    EXPECT_EQ(names(booking->tableCellInterface()->columnHeaderCells()), QStringList({"1", "Dr Brown"}));
    EXPECT_TRUE(booking->state().focused);
    EXPECT_EQ(table->focusChild(), booking);
    EXPECT_EQ(t->rowDescription(2), "9:00");
    EXPECT_EQ(t->columnDescription(2), "2, Dr Green");
    EXPECT_EQ(t->cellAt(1, 2)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(t->cellAt(4, 0)->role(), QAccessible::RowHeader);

    // A free cell says no colour; one without a name says what it is.
    EXPECT_EQ(t->cellAt(3, 1)->text(QAccessible::Description), "");
    EXPECT_EQ(t->cellAt(3, 2)->text(QAccessible::Description), "Red 86, green 52, blue 18");

    // Children and cells are the same objects, found both ways and by position.
    const int index = table->indexOfChild(booking);
    EXPECT_EQ(table->child(index), booking);
    EXPECT_EQ(table->childCount(), 24);
    const QRect r = booking->rect();
    EXPECT_EQ(table->childAt(r.center().x(), r.center().y()), booking);

    // A cell the grid no longer holds goes invalid instead of reading freed rows.
    QAccessibleInterface *last = t->cellAt(7, 2);
    view->model()->setRows(4);
    EXPECT_FALSE(last->isValid());
    EXPECT_EQ(last->text(QAccessible::Name), "");
    EXPECT_EQ(t->rowCount(), 4);
    EXPECT_EQ(t->cellAt(7, 2), nullptr);
}

TEST_F(GridAccessibleTest, ReaderHearsTheCurrentCellMoveAndChangeUnderIt)
{
    ui::setReaderListener(listen);

    QTest::keyClick(view, Qt::Key_Up);   // the top time row is as far as it goes
    QTest::keyClick(view, Qt::Key_Down);
    ASSERT_EQ(view->model()->row(), 3);
    auto focusOn = [](const QString &name) {
        return std::count_if(g_heard.begin(), g_heard.end(), [&](const Heard &h) {
            return h.type == QAccessible::Focus && h.name == name;
        });
    };
    EXPECT_EQ(focusOn(""), 1);   // 10:00, Dr Brown: free

    // Another station's booking arrives under the cursor: it is read out.
    g_heard.clear();
    view->model()->setTextMatrix(3, 1, "Jones\n0987");
    ASSERT_FALSE(g_heard.empty());
    EXPECT_EQ(g_heard.back().type, QAccessible::NameChanged);
    EXPECT_EQ(g_heard.back().name, "Jones, 0987");

    // Elsewhere the table is told its cells changed, without moving the reader.
    g_heard.clear();
    view->model()->setTextMatrix(5, 2, "Lee");
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(g_heard[0].type, QAccessible::TableModelChanged);

    // Coming back to the grid from elsewhere reads the current cell again.
    view->clearFocus();
    g_heard.clear();
    view->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(focusOn("Jones, 0987"), 1);
}
