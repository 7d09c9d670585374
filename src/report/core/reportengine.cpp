#include "report/core/reportengine.h"

#include "report/core/merge.h"
#include "store/core/database.h"
#include "store/core/schema.h"
#include "ui/core/places.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>
#include <QStringDecoder>

namespace report {

namespace {

// Layout files are a few kilobytes; anything far larger is not one.
constexpr qint64 MaxLayoutBytes = 1024 * 1024;

QVariantMap toMap(const QSqlRecord &r)
{
    QVariantMap m;
    for (int i = 0; i < r.count(); ++i)
        m.insert(r.fieldName(i), r.value(i));
    return m;
}

QString sameFileKey(const QString &path)
{
    const QFileInfo info(path);
    QString key = info.canonicalFilePath();
    if (key.isEmpty())
        key = QDir::cleanPath(info.absoluteFilePath());
#ifdef Q_OS_WIN
    key = key.toLower();
#endif
    return key;
}

int clampMargin(const std::optional<int> &given, int fallback)
{
    return given ? std::max(0, *given) : fallback;
}

// The letterhead record the invoice names; an invoice that names none (the
// invoice window never sets it) or a record since removed gets the last
// record, the practice's own design.
QVariantMap letterheadFor(store::Database &db, const QVariant &key)
{
    using store::Dialect;
    const auto rows = db.select(QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                                    .arg(Dialect::quote(store::tables::Letterhead),
                                         Dialect::quote(QStringLiteral("LetterHead"))));
    if (rows.empty())
        return {};
    bool ok = false;
    const int wanted = key.toInt(&ok);
    if (ok && !key.isNull())
        for (const QSqlRecord &r : rows)
            if (r.value(QStringLiteral("LetterHead")).toInt() == wanted)
                return toMap(r);
    return toMap(rows.back());
}

} // namespace

Layout ReportEngine::loadLayout(const QString &path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!info.exists() || !info.isFile())
        throw ReportError(QStringLiteral("Cannot find the report file %1").arg(QDir::toNativeSeparators(path)));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("Cannot open the report file %1: %2")
                              .arg(QDir::toNativeSeparators(path), f.errorString()));
    if (f.size() > MaxLayoutBytes)
        throw ReportError(QStringLiteral("The report file %1 is not valid: it is too large to be a report layout")
                              .arg(name));
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    try {
        if (utf8.hasError())
            throw LayoutError{1, QStringLiteral("this is not a report layout file of this program")};
        return parseLayout(text);
    } catch (const LayoutError &e) {
        throw ReportError(QStringLiteral("The report file %1 is not valid: line %2: %3")
                              .arg(name)
                              .arg(e.line)
                              .arg(e.message));
    }
}

void ReportEngine::checkDataFiles(const ReportSettings &settings, const store::Database &db)
{
    if (!db.isOpen())
        throw ReportError(QStringLiteral("The database is not open"));
    // On a station whose practice runs a server the data folder's db.mdb
    // stands for that server, the database in use.
    const QString inUse =
        db.onServer() ? QDir(settings.dataDir).filePath(QStringLiteral("db.mdb")) : db.path();
    const QString open = sameFileKey(inUse);
    for (std::size_t i = 0; i < settings.dataFiles.size(); ++i) {
        const QString given = settings.dataFiles[i];
        if (given.trimmed().isEmpty())
            continue;
        const QString path = resolvePath(given, settings.dataDir);
        if (sameFileKey(path) != open)
            throw ReportError(QStringLiteral("Data file %1 (%2) is not the database in use (%3)")
                                  .arg(i)
                                  .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(inUse)));
    }
}

RenderedReport ReportEngine::build(const ReportSettings &settings, store::Database &db)
{
    const int invoice = parseSelectionFormula(settings.selectionFormula);
    checkDataFiles(settings, db);
    if (settings.reportFile.trimmed().isEmpty())
        throw ReportError(QStringLiteral("No report file is named"));
    QString file = resolvePath(settings.reportFile, settings.dataDir);
    // The practice's own copy of a layout overrides the installed one.
    if (!settings.dataDir.isEmpty() && sameFileKey(QFileInfo(file).absolutePath()) == sameFileKey(settings.dataDir))
        file = ui::Places(settings.dataDir, settings.programFiles).layout(QFileInfo(file).fileName());
    const Layout layout = loadLayout(file);

    try {
        using store::Dialect;
        const auto row = db.selectOne(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?")
                                          .arg(Dialect::quote(store::tables::AccountsQuery),
                                               Dialect::quote(QStringLiteral("Invoice"))),
                                      {invoice});
        if (!row)
            throw ReportError(QStringLiteral("There is no invoice number %1").arg(invoice));
        const QVariantMap fields = toMap(*row);
        const QVariantMap letterhead =
            layout.usesLetterhead()
                // The record's own lookup ignores case: the server names its columns in lower case.
                ? letterheadFor(db, settings.letterhead ? QVariant(*settings.letterhead)
                                                        : row->value(QStringLiteral("LetterHead")))
                : QVariantMap();

        RenderedReport r;
        r.html = mergeLayout(layout, FieldValues(fields, letterhead, layout.title));
        r.title = layout.title;
        r.invoice = invoice;
        r.documentName = layout.title.isEmpty()
                             ? QStringLiteral("Invoice %1").arg(invoice)
                             : QStringLiteral("%1 %2").arg(layout.title).arg(invoice);
        r.reportFile = file;
        r.paper = layout.paper;
        r.margins = {clampMargin(settings.marginTop, layout.margins.top),
                     clampMargin(settings.marginLeft, layout.margins.left),
                     clampMargin(settings.marginBottom, layout.margins.bottom),
                     clampMargin(settings.marginRight, layout.margins.right)};
        r.inset = layout.inset;
        r.fontFamily = layout.fontFamily;
        r.fontSize = layout.fontSize;
        return r;
    } catch (const store::DbError &e) {
        throw ReportError(e.description());
    }
}

} // namespace report
