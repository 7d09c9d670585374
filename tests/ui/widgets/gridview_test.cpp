#include "ui/widgets/gridview.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using ui::GridModel;
using ui::GridView;

namespace {

// A page-like grid: two fixed rows, a fixed time column, 40 x 20 cells,
// inside a window with a second focusable control.
class GridViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&window);
        view = new GridView;
        other = new QLineEdit;
        layout->addWidget(view);
        layout->addWidget(other);
        GridModel *m = view->model();
        m->beginUpdate();
        m->setRows(40);
        m->setCols(20);
        m->setFixedRows(2);
        m->setFixedCols(1);
        for (int r = 0; r < 40; ++r)
            for (int c = 0; c < 20; ++c)
                m->setTextMatrix(r, c, QString("%1/%2").arg(r).arg(c));
        m->setCursor(2, 1);
        m->endUpdate();
        window.resize(640, 420);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        view->setFocus();
    }

    GridModel *model() const { return view->model(); }
    QPoint centre(int r, int c) const { return view->cellRect(r, c).center(); }

    QWidget window;
    GridView *view = nullptr;
    QLineEdit *other = nullptr;
};

} // namespace

TEST_F(GridViewTest, KeysEmitKeyDownThenKeyPressedWithShiftState)
{
    QStringList log;
    QObject::connect(view, &GridView::keyDown, [&](int key, int shift) {
        if (key != Qt::Key_Shift && key != Qt::Key_Control)   // modifiers alone are reported too
            log << QString("down %1 %2").arg(key).arg(shift);
    });
    QObject::connect(view, &GridView::keyPressed, [&](QChar ch) { log << QString("press %1").arg(ch.unicode()); });

    QTest::keyClick(view, 'S', Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_Backspace);
    QTest::keyClick(view, Qt::Key_F3);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(log, QStringList({QString("down %1 1").arg(Qt::Key_S), "press 83", QString("down %1 0").arg(Qt::Key_Return),
                                "press 13", QString("down %1 0").arg(Qt::Key_Backspace), "press 8",
                                QString("down %1 0").arg(Qt::Key_F3), QString("down %1 2").arg(Qt::Key_C)}));
}

TEST_F(GridViewTest, TabStaysWithTheGridAndIsReported)
{
    QSignalSpy down(view, &GridView::keyDown);
    QSignalSpy pressed(view, &GridView::keyPressed);
    ASSERT_TRUE(view->hasFocus());
    QTest::keyClick(view, Qt::Key_Tab);
    QTest::keyClick(view, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(view->hasFocus());
    ASSERT_EQ(pressed.count(), 2);
    EXPECT_EQ(pressed.at(0).at(0).value<QChar>(), QChar(9));
    EXPECT_EQ(pressed.at(1).at(0).value<QChar>(), QChar(9));
    ASSERT_EQ(down.count(), 3);   // Tab, Shift, Shift+Tab
    EXPECT_EQ(down.at(2).at(0).toInt(), int(Qt::Key_Tab));
    EXPECT_EQ(down.at(2).at(1).toInt(), 1);
    EXPECT_EQ(model()->row(), 2);
    EXPECT_EQ(model()->col(), 1);
}

TEST_F(GridViewTest, ArrowsMoveWithinTheScrollableAreaAndShiftExtends)
{
    QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(model()->row(), 2);   // fixed rows and column are never entered
    EXPECT_EQ(model()->col(), 1);
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(model()->row(), 3);
    EXPECT_EQ(model()->col(), 2);

    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(model()->row(), 3);
    EXPECT_EQ(model()->col(), 2);
    EXPECT_EQ(model()->rowSel(), 4);
    EXPECT_EQ(model()->colSel(), 3);

    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(model()->col(), 3);
    EXPECT_EQ(model()->colSel(), 3);
    EXPECT_EQ(model()->rowSel(), 3);
}

TEST_F(GridViewTest, ConsumedKeysAreLeftToTheOwner)
{
    QSignalSpy pressed(view, &GridView::keyPressed);
    auto c1 = QObject::connect(view, &GridView::keyDown, [&](int key, int) {
        if (key == Qt::Key_Down || key == Qt::Key_X)
            view->consumeKey();
    });
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_X, Qt::NoModifier, 'x');
    EXPECT_EQ(model()->row(), 2);
    EXPECT_EQ(pressed.count(), 0);   // consumed in keyDown: no keyPressed
    QObject::disconnect(c1);

    // Consuming holds for one key only.
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(model()->row(), 3);
}

TEST_F(GridViewTest, ClicksReportButtonShiftAndCell)
{
    QSignalSpy down(view, &GridView::mouseDown);
    QSignalSpy up(view, &GridView::mouseUp);
    QWidget *vp = view->viewport();

    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, centre(5, 3));
    EXPECT_EQ(model()->row(), 5);
    EXPECT_EQ(model()->col(), 3);
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0), QVariantList({1, 0, 5, 3}));
    EXPECT_EQ(up.at(0), QVariantList({1, 0, 5, 3}));

    QTest::mouseClick(vp, Qt::LeftButton, Qt::ShiftModifier, centre(7, 4));
    EXPECT_EQ(model()->row(), 5);
    EXPECT_EQ(model()->rowSel(), 7);
    EXPECT_EQ(model()->colSel(), 4);
    EXPECT_EQ(up.at(1), QVariantList({1, 1, 7, 4}));

    QTest::mouseClick(vp, Qt::RightButton, Qt::AltModifier, centre(9, 2));
    EXPECT_EQ(down.at(2), QVariantList({2, 4, 9, 2}));
    EXPECT_EQ(model()->row(), 5);   // right button leaves the cursor

    // A header cell is reported but not made current.
    QTest::mouseClick(vp, Qt::LeftButton, Qt::ControlModifier, centre(1, 0) + QPoint(-10, 0));
    EXPECT_EQ(down.at(3), QVariantList({1, 2, 1, 0}));
    EXPECT_EQ(model()->row(), 5);

    view->setClickMovesCursor(false);
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, centre(8, 8));
    EXPECT_EQ(down.at(4), QVariantList({1, 0, 8, 8}));
    EXPECT_EQ(model()->row(), 5);
    EXPECT_EQ(model()->col(), 3);

    QSignalSpy dbl(view, &GridView::doubleClicked);
    QTest::mouseDClick(vp, Qt::LeftButton, Qt::NoModifier, centre(6, 2));
    ASSERT_EQ(dbl.count(), 1);
    EXPECT_EQ(dbl.at(0), QVariantList({6, 2}));
}

TEST_F(GridViewTest, ScrollingKeepsTheCursorInViewAndHeadersInPlace)
{
    QSignalSpy scrolled(view, &GridView::scrolled);
    const QRect header = view->cellRect(0, 0);
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(model()->row(), 39);
    EXPECT_EQ(model()->col(), 19);
    EXPECT_GT(scrolled.count(), 0);
    EXPECT_GT(view->topRow(), 2);
    EXPECT_GT(view->leftCol(), 1);
    EXPECT_TRUE(view->viewport()->rect().contains(view->cellRect(39, 19)));
    EXPECT_EQ(view->cellRect(0, 0), header);
    EXPECT_EQ(view->cellRect(1, 5).top(), header.height());
    EXPECT_EQ(view->rowAt(view->cellRect(39, 19).center().y()), 39);

    // Setting the cursor by code scrolls it into view too.
    model()->setCursor(2, 1);
    EXPECT_EQ(view->topRow(), 2);
    EXPECT_EQ(view->leftCol(), 1);

    const int before = model()->row();
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_GT(model()->row(), before + 1);
    EXPECT_TRUE(view->viewport()->rect().contains(view->cellRect(model()->row(), 1)));
}

TEST_F(GridViewTest, DraggingAHeaderBorderResizesTheColumn)
{
    QSignalSpy resized(view, &GridView::columnResized);
    QSignalSpy down(view, &GridView::mouseDown);
    QWidget *vp = view->viewport();
    const int before = model()->colWidth(2);
    const QPoint border(view->cellRect(0, 2).right() + 1, 5);

    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseMove(vp, border + QPoint(40, 0));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, border + QPoint(40, 0));
    ASSERT_EQ(resized.count(), 1);
    EXPECT_EQ(resized.at(0).at(0).toInt(), 2);
    EXPECT_EQ(down.count(), 0);
    EXPECT_EQ(model()->colWidth(2), before + view->pixelsToTwipsX(40));

    // Dragged to nothing, the column can still be pulled open again.
    const QPoint edge(view->cellRect(0, 3).right() + 1, 5);
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, edge);
    QTest::mouseMove(vp, QPoint(view->cellRect(0, 3).left() - 5, 5));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, QPoint(view->cellRect(0, 3).left() - 5, 5));
    EXPECT_EQ(model()->colWidth(3), 0);
    const QPoint collapsed(view->cellRect(0, 3).left(), 5);
    QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, collapsed);
    QTest::mouseMove(vp, collapsed + QPoint(30, 0));
    QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, collapsed + QPoint(30, 0));
    EXPECT_EQ(model()->colWidth(3), view->pixelsToTwipsX(30));
}

TEST_F(GridViewTest, GrabShowsColoursSelectionAndHidesWhenInvisible)
{
    GridModel *m = model();
    m->beginUpdate();
    ui::CellFont arial;
    arial.bold = true;
    m->setFont(arial);
    m->setBackColor(0xEEFFFF);
    m->setCellColor(4, 2, 0x8080FF);
    m->setTextMatrix(4, 2, "");
    m->setTextMatrix(6, 3, "Smith\nJones");
    m->setRowHeight(6, 500);
    m->setBackColorSel(0xC00000);
    m->select(8, 1, 9, 2);
    m->endUpdate();

    const QPixmap shot = view->viewport()->grab();
    ASSERT_FALSE(shot.isNull());
    const QImage img = shot.toImage();
    auto at = [&](int r, int c) { return img.pixelColor(view->cellRect(r, c).bottomRight() - QPoint(3, 3)); };
    EXPECT_EQ(at(4, 2), QColor(255, 128, 128));
    EXPECT_EQ(at(5, 2), QColor(255, 255, 238));
    EXPECT_EQ(at(9, 1), QColor(0, 0, 192));   // multi-cell selection filled
    EXPECT_EQ(at(0, 5), QColor(224, 224, 224));

    m->setVisible(false);
    const QImage hidden = view->viewport()->grab().toImage();
    EXPECT_EQ(hidden.pixel(view->cellRect(4, 2).center()), view->palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(view->rowAt(view->cellRect(4, 2).center().y()), -1);
}

TEST_F(GridViewTest, ReplacedOrDestroyedModelFallsBackToTheViewsOwn)
{
    auto *replacement = new GridModel;
    replacement->setRows(3);
    view->setModel(replacement);
    EXPECT_EQ(view->model(), replacement);
    delete replacement;
    EXPECT_NE(view->model(), nullptr);
    EXPECT_EQ(view->model()->rows(), 40);
    view->viewport()->grab();   // paints without touching the deleted model
}

// A desktop set to larger text enlarges the cells with their text, and the
// usual size leaves them as the twips say.
TEST_F(GridViewTest, CellsGrowWithTheApplicationFont)
{
    const QFont usual = QApplication::font();
    const QRect before = view->cellRect(2, 1);
    QFont big = usual;
    big.setPointSizeF(15);   // 150% of the usual 10 points
    QApplication::setFont(big);
    const QRect after = view->cellRect(2, 1);
    const double scale = view->textScale();
    QApplication::setFont(usual);
    EXPECT_DOUBLE_EQ(scale, 1.5);
    EXPECT_NEAR(after.height(), before.height() * 1.5, 2);
    EXPECT_NEAR(after.width(), before.width() * 1.5, 2);
    EXPECT_EQ(view->cellRect(2, 1), before);
}
