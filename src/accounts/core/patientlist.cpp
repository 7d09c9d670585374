#include "accounts/core/patientlist.h"

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
    beginResetModel();
    setRows(count);
    endResetModel();
}

int PatientList::rowOfInitial(const QString &initial)
{
    return m_store.rowOfInitial(initial);
}

std::vector<QStringList> PatientList::readPage(int first, int count) const
{
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
