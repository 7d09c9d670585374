#pragma once

#include "accounts/core/patientstore.h"
#include "ui/core/pagedrows.h"

namespace accounts {

// The manual search's grid rows: every patient file in last-name order,
// read a page at a time as rows are shown, so a large practice's first
// screen costs one page, not the whole table.
class PatientList : public ui::PagedRows {
    Q_OBJECT
public:
    explicit PatientList(store::Database &db, QObject *parent = nullptr);

    static const QStringList &headings();

    // Reads the number of files again and forgets the pages read.
    void reload();
    // The same, without a reset: a view keeps its row and scroll.
    void reread()
    {
        m_mark.reset();   // rows may have moved about it
        rereadRows(m_store.count());
    }
    int fileNoAt(int row) const;
    // The row for a last-name initial (see PatientStore::rowOfInitial) in
    // the rows counted by the last reload.
    int rowOfInitial(const QString &initial);

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    std::vector<QStringList> readPage(int first, int count) const override;
    int columns() const override { return int(headings().size()); }

private:
    mutable PatientStore m_store;
    // The row of the initial last stood on: the pages about it are read from it.
    std::optional<PatientStore::Mark> m_mark;
};

} // namespace accounts
