#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace store {

// What one write changed: the record (its kind and key, e.g. "invoice" 42,
// "setup" 1, "template" Monday, "page" 2026-12-08) and each field's stored
// value before and after. Every record kind's write path returns one, so
// that what a command changed can be shown, recorded and taken back.
struct FieldChange {
    QString field;        // the stored field (or "row,col" for a cell)
    QVariant before;
    QVariant after;
    QString label = {};   // how a user knows the field (a cell: its time and consultant)
};

struct Edit {
    QString kind;
    QVariant key;
    std::vector<FieldChange> changes;

    bool empty() const { return changes.empty(); }
    void add(const QString &field, const QVariant &before, const QVariant &after, const QString &label = {})
    {
        if (before != after)
            changes.push_back({field, before, after, label});
    }
};

} // namespace store
