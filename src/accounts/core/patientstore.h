#pragma once

#include "accounts/core/recordstore.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <optional>
#include <vector>

namespace accounts {

// The patient files (tbl_PatientDetails): every statement on the table is
// here. The client file window writes through it, each field carrying the
// text that station read there (a field another station changed meanwhile
// is not written over), and the search windows read through it: a seek on
// a named index, and the list in last-name order a screenful at a time.
class PatientStore : public RecordStore {
public:
    explicit PatientStore(store::Database &db);

    static inline const QString Kind = QStringLiteral("patient");

    // The values of a new, blank file.
    static QVariantMap blankFile();
    // Stores a blank file at once; its file number.
    int addBlank();

    // Writes the fields of a file that no other station changed since this
    // one read them. Not found: the file was deleted meanwhile.
    store::GuardedWrite write(int fileNo, const std::vector<store::FieldWrite> &changes);

    // The first file whose index fields equal the keys, in the index's
    // order (an empty key matches an empty field); nullopt: none.
    std::optional<int> seek(const QString &index, const QVariantList &keys);

    // The list of the manual search: the fields of its columns, in order.
    static const QStringList &listFields();
    int count();
    // Rows [offset, offset + limit) of the list in last-name order, each
    // its column values as text.
    std::vector<QStringList> rows(int offset, int limit);
    // A row of the list and its file's place in the list's order, from
    // which the rows about it are read by the index rather than counted
    // from the top.
    struct Mark {
        int row = 0;
        QString lastName;   // never empty
        int fileNo = 0;
    };
    // The row the list stands on for a last-name initial: the first file
    // whose last name begins with it (an empty initial: the first file
    // without a last name), else the last row; -1 for an empty list.
    // `mark`, when given, is set to that file where there is one; `total`:
    // the number of files when the caller has just counted them.
    int rowOfInitial(const QString &initial, std::optional<Mark> *mark = nullptr, int total = -1);
    // Rows [first, first + limit) of the list, read from the mark.
    std::vector<QStringList> rowsNear(const Mark &mark, int first, int limit);

private:
    // Whether the engine keeps the files' counts (store::FileCounts).
    bool counted();
    QString lastNameOrder(bool backwards = false) const;
    std::vector<QStringList> select(const QString &where, const QVariantList &binds, bool backwards, int limit,
                                    int offset);

    std::optional<bool> m_counted;
};

} // namespace accounts
