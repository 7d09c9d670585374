#pragma once

#include <QPlainTextEdit>
#include <QPointer>

namespace ui {

class GridView;

// The box laid over a grid cell while it is being typed in (`txtEdit` of the
// page grid and of the template grid). It follows its cell when the grid
// scrolls or a column is resized. Its owners keep line breaks as CR LF; the
// box shows them as plain line breaks.
class CellEditorBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CellEditorBox(GridView *grid);

    // Shows the box over a cell with a text whose line breaks are CR LF.
    void open(int row, int col, const QString &text, bool readOnly, bool multiLine);
    // Hides the box; the grid takes the focus if the box had it.
    void close();
    // Lays the box over its cell again.
    void place();

    static QString toBox(QString text);
    static QString fromBox(QString text);

signals:
    // The user changed the text (CR LF line breaks).
    void edited(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<GridView> m_grid;
    int m_row = -1;
    int m_col = -1;
    bool m_filling = false;
};

} // namespace ui
