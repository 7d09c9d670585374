#include "setup/core/templatestore.h"

#include "book/pages/pagetext.h"
#include "store/core/database.h"
#include "store/core/settings.h"

#include <algorithm>

namespace setup {

namespace page = book::page;

TemplateStore::Write TemplateStore::write(const Change &c)
{
    const QString textField = store::Settings::templateField(c.dayOfWeek);
    const QString flagField = store::Settings::closedField(c.dayOfWeek);
    Write out;
    out.edit.kind = QStringLiteral("template");
    out.edit.key = textField;
    store::SettingsStore(m_db).modify({textField, flagField, QStringLiteral("Clinic")}, [&](const QVariantMap &stored)
                                          -> std::optional<QVariantMap> {
        const QString text = stored.value(textField).toString();
        const bool closed = store::Database::toBool(stored.value(flagField));
        out.storedText = text;
        out.storedClosed = closed;
        page::Cells cells = page::decode(text);
        for (const auto &[at, typed] : c.cells) {
            const QString now = page::cellAt(cells, at.first, at.second);
            const auto read = c.read.find(at);
            // Another station typing the very same text is no conflict.
            if (now != (read == c.read.end() ? QString() : read->second) && now != page::cleanCell(typed))
                out.contested.push_back(at);
        }
        const bool flagChanged = c.closed != c.closedRead;
        out.closedContested = flagChanged && closed != c.closedRead && closed != c.closed;
        if (!out.written())
            return std::nullopt;

        const size_t rows = static_cast<size_t>(std::max(c.rows, 0));
        if (cells.size() < rows)
            cells.resize(rows);
        for (QStringList &row : cells)
            while (row.size() < c.cols)
                row << QString();
        for (const auto &[at, typed] : c.cells) {
            const QString value = page::cleanCell(typed);
            out.edit.add(QStringLiteral("%1,%2").arg(at.first).arg(at.second), page::cellAt(cells, at.first, at.second),
                         value);
            page::setCellAt(cells, at.first, at.second, value);
        }
        const bool nowClosed = flagChanged ? c.closed : closed;
        out.edit.add(flagField, closed, nowClosed);
        out.storedText = page::encode(cells);
        out.storedClosed = nowClosed;
        // Clinic mirrors the flag of the weekday last stored; nothing reads it.
        QVariantMap values{{QStringLiteral("Clinic"), nowClosed}};
        if (out.storedText != text)
            values.insert(textField, out.storedText);
        if (nowClosed != closed)
            values.insert(flagField, nowClosed);
        return values;
    }, &out.edit, QStringLiteral("weekday template"));
    return out;
}

} // namespace setup
