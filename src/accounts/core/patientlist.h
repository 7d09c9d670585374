#pragma once

#include "accounts/core/patientstore.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <vector>

namespace accounts {

// The manual search's grid rows: every patient file in last-name order,
// read a page at a time as rows are shown, so a large practice's first
// screen costs one page, not the whole table.
class PatientList : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int PageRows = 64;

    explicit PatientList(store::Database &db, QObject *parent = nullptr);

    static const QStringList &headings();

    // Reads the number of files again and forgets the pages read.
    void reload();
    int fileNoAt(int row) const;
    // The row for a last-name initial (see PatientStore::rowOfInitial).
    int rowOfInitial(const QString &initial);
    int pagesRead() const { return m_pagesRead; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const QStringList *rowAt(int row) const;

    mutable PatientStore m_store;
    int m_count = 0;
    mutable QHash<int, std::vector<QStringList>> m_pages;
    mutable int m_pagesRead = 0;
};

} // namespace accounts
