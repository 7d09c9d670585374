#include "accounts/core/patientlist.h"

#include <cstdlib>

namespace accounts {

PatientList::PatientList(store::Database &db, QObject *parent)
    : ui::PagedRows(parent), m_store(db)
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
    const int count = m_store.count();
    m_mark.reset();
    beginResetModel();
    setRows(count);
    endResetModel();
}

int PatientList::rowOfInitial(const QString &initial)
{
    return m_store.rowOfInitial(initial, &m_mark, rowCount());
}

std::vector<QStringList> PatientList::readPage(int first, int count) const
{
    // Within a few pages of the mark, from it; farther, counted from the top.
    if (m_mark && std::abs(first - m_mark->row) <= 8 * PageRows)
        return m_store.rowsNear(*m_mark, first, count);
    return m_store.rows(first, count);
}

int PatientList::fileNoAt(int row) const
{
    const QStringList *r = rowAt(row);
    return r ? r->value(0).toInt() : 0;
}

QVariant PatientList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    return headings().value(section);
}

} // namespace accounts
