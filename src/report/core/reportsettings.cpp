#include "report/core/reportsettings.h"

#include "ui/core/places.h"

#include <QDir>
#include <QRegularExpression>

namespace report {

int parseSelectionFormula(const QString &formula)
{
    // Field names are matched without regard to case, as everywhere else.
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*\{tbl_Accounts\.Invoice\}\s*=\s*([+-]?[0-9]+)\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto bad = [&formula](const QString &why) {
        return ReportError(QStringLiteral("The selection formula \"%1\" is not valid: %2")
                               .arg(formula, why));
    };
    const QRegularExpressionMatch m = form.match(formula);
    if (!m.hasMatch())
        throw bad(QStringLiteral(
            "it must be {tbl_Accounts.Invoice}= followed by an invoice number"));
    bool ok = false;
    const qlonglong n = m.captured(1).toLongLong(&ok);
    if (!ok || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        throw bad(QStringLiteral("the invoice number is out of range"));
    return static_cast<int>(n);
}

QString resolvePath(const QString &path, const QString &baseDir)
{
    QString p = path.trimmed();
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.isEmpty())
        return QString();
    QString base = baseDir;
    base.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (base.isEmpty())
        base = ui::Places::installedFiles();
    return QDir::cleanPath(QDir(base).absoluteFilePath(p));
}

} // namespace report
