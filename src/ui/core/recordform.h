#pragma once

#include "store/core/fieldwrite.h"
#include "store/core/recordsource.h"
#include "ui/core/formmodel.h"

#include <QHash>
#include <QStringList>
#include <QVariant>

namespace store {
class Database;
class DbError;
}

namespace ui {

// A form's record source and its bound boxes: shows the current record in
// the form model, saves what the user changed, adds, removes and steps
// records and seeks them on a named index. A save writes only the boxes
// this station changed, and only while the stored values of those fields
// are still the ones it read: another station's edit is never overwritten.
class RecordForm {
public:
    RecordForm(store::Database &db, FormModel &form);
    RecordForm(const RecordForm &) = delete;
    RecordForm &operator=(const RecordForm &) = delete;

    // Binds a table or stored query and shows its first record. Throws DbError.
    void bind(const QString &source);
    // Re-reads the record source (other stations' new records), keeping the
    // current record where it still exists; the boxes are not touched.
    void refresh();
    store::RecordSource &source() { return m_rs; }
    FormModel &form() { return m_form; }

    bool hasCurrent() const;
    QVariant key() const;              // the current record's key; invalid without one
    // The current record into the bound boxes (all empty without one).
    void show();
    // A field of the record as this station last read it.
    QVariant readValue(const QString &field) const { return m_read.value(field.toLower()); }
    // Every field of the record as this station last read it (lower-case names).
    const QVariantMap &readValues() const { return m_read; }
    // The boxes the user changed that are the record's own fields, each with
    // the text read there: what a record kind's store writes.
    std::vector<store::FieldWrite> changes() const;
    // The current record was removed through its store: no record is current,
    // and next() / previous() go to the records that stood after / before it.
    void dropCurrent();

    // Inserts a record with `values` at once (the database gives its key),
    // makes it current and shows it. It counts as new until saved or removed.
    QVariant addNew(const QVariantMap &values = {});
    bool isNew() const { return m_new; }
    void setNew(bool on) { m_new = on; }

    struct SaveResult {
        enum Outcome {
            Saved,      // the changed boxes are stored, the record shown as stored
            Unchanged,  // nothing was changed: nothing written
            Conflict,   // another station changed a field this one changed: nothing written
            Gone,       // the record was removed meanwhile
        };
        Outcome outcome = Unchanged;
        QStringList controls;           // Conflict: the boxes concerned
        bool ok() const { return outcome == Saved || outcome == Unchanged; }
    };
    SaveResult save();

    void remove();                     // deletes the current record (no current after)
    // One record on; at the end the form stays on the last (first) record.
    bool next();
    bool previous();
    void first();
    void last();
    bool moveTo(const QVariant &key);  // false: no such record (the position stays)
    bool seek(const QString &index, const QVariantList &keys);
    // Cancel: the current record is read again into the boxes.
    void cancel() { show(); }

    // Throws DbError::Restored when the data was restored from a backup since
    // the record on show was read: nothing this form holds may be written
    // over the restored data before it is read again.
    void checkGeneration() const;
    // After such a refusal: the record is read again as it is stored now,
    // and the boxes the user changed keep what was typed (counted as
    // changes over the restored values). False when the restored data has
    // no such record: the boxes stay as they are.
    bool rereadKeepingTyped();
    // The words for such a refusal: the database's, then that the entries
    // wait in the boxes over the restored record.
    static QString restoredNotice(const store::DbError &e);

    // Another station changed the record on show: it is read again. A box
    // the user has not changed takes the stored value, which counts as read
    // from then on; one the user typed in keeps its text, counted over what
    // was read before, so that saving it still meets the other station's
    // change. Returns the boxes whose stored value changed; the record gone
    // (or none on show) changes nothing.
    QStringList rereadElsewhere();
    // The boxes changed at another station since the record was shown, each
    // with the text now stored; a new showing forgets them.
    const QHash<QString, QString> &changedElsewhere() const { return m_elsewhere; }

private:
    // A step off a record deleted elsewhere: to its neighbour on that side,
    // else to that end.
    bool fromDropped(const QVariant &neighbour, void (RecordForm::*end)());

    store::Database &m_db;
    FormModel &m_form;
    store::RecordSource m_rs;
    QVariantMap m_read;   // lower-case field -> value, as last read
    QHash<QString, QString> m_elsewhere;
    int m_epoch = 0;      // the database's restore epoch when it was read
    bool m_new = false;
    bool m_dropped = false;
    QVariant m_before, m_after;   // dropped: the neighbours of the removed record
};

} // namespace ui
