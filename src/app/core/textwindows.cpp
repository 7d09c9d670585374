#include "app/core/textwindows.h"

#include "store/core/dberror.h"
#include "store/core/recordsource.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/prompter.h"

namespace app {

QString TextWindows::helpText()
{
    m_helpField = m_s.state.helpField.isEmpty() ? QStringLiteral("Help") : m_s.state.helpField;
    m_s.state.helpField = QStringLiteral("Help");
    return read(store::tables::Order, m_helpField, QStringLiteral("Help File"));
}

QString TextWindows::readmeText()
{
    return read(store::tables::Setup, QStringLiteral("Readme"), QStringLiteral("Readme"));
}

QString TextWindows::read(const QString &table, const QString &field, const QString &title)
{
    try {
        store::RecordSource source(m_s.db);
        source.bind(table);
        if (source.eof())
            return QString();
        return source.text(field);
    } catch (const store::DbError &e) {
        m_s.prompter.message(e.numbered(), title, ui::Icon::Critical);
        return QString();
    }
}

} // namespace app
