#include "accounts/core/patientlist.h"

#include "store/core/dberror.h"

namespace accounts {

namespace {
constexpr int KeptPages = 32;   // about 2000 rows in memory at most
}

PatientList::PatientList(store::Database &db, QObject *parent)
    : QAbstractTableModel(parent), m_store(db)
{
}

const QStringList &PatientList::headings()
{
    static const QStringList h = {
        QStringLiteral("FileNo."),      QStringLiteral("LastName"),    QStringLiteral("FirstName"),
        QStringLiteral("MI"),           QStringLiteral("D.O.B."),      QStringLiteral("Sex"),
        QStringLiteral("Maiden Name"),  QStringLiteral("Address"),     QStringLiteral("City"),
        QStringLiteral("State"),        QStringLiteral("Zip/Postcode"), QStringLiteral("Cellular"),
        QStringLiteral("Phone"),        QStringLiteral("Occupation"),  QStringLiteral("SSN/NRIC"),
        QStringLiteral("Insur/HF/Pen No"), QStringLiteral("ContactPerson")};
    return h;
}

void PatientList::reload()
{
    beginResetModel();
    m_pages.clear();
    m_count = m_store.count();
    endResetModel();
}

int PatientList::rowOfInitial(const QString &initial)
{
    return m_store.rowOfInitial(initial);
}

const QStringList *PatientList::rowAt(int row) const
{
    if (row < 0 || row >= m_count)
        return nullptr;
    const int page = row / PageRows;
    auto it = m_pages.find(page);
    if (it == m_pages.end()) {
        if (m_pages.size() >= KeptPages)
            m_pages.clear();
        std::vector<QStringList> rows;
        try {
            rows = m_store.rows(page * PageRows, PageRows);
        } catch (const store::DbError &) {
            // Shown empty; the next reload reads it again.
        }
        ++m_pagesRead;
        it = m_pages.insert(page, std::move(rows));
    }
    const size_t at = size_t(row % PageRows);
    return at < it->size() ? &(*it)[at] : nullptr;
}

int PatientList::fileNoAt(int row) const
{
    const QStringList *r = rowAt(row);
    return r ? r->value(0).toInt() : 0;
}

int PatientList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int PatientList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(headings().size());
}

QVariant PatientList::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const QStringList *r = rowAt(index.row());
    return r ? QVariant(r->value(index.column())) : QVariant();
}

QVariant PatientList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    return headings().value(section);
}

} // namespace accounts
