#pragma once

#include "book/core/pagehistory.h"

#include <QDialog>
#include <vector>

class QTreeWidget;

namespace book {

// "Deleted on this page": the bookings emptied from the page on display,
// newest first. Enter (or a double click) puts the chosen one back into its
// cell through the page history, which refuses when the cell is no longer empty.
class DeletedList : public QDialog {
    Q_OBJECT
public:
    DeletedList(PageHistory &history, std::vector<CellChange> deleted, QWidget *parent = nullptr);

private:
    void putBack();

    PageHistory &m_history;
    std::vector<CellChange> m_deleted;
    QTreeWidget *m_list = nullptr;
};

} // namespace book
