#pragma once

#include <QString>

// What the person at the desk reads after printing or saving a document
// ("schedule", "invoice"): where the sheets went, or what went wrong and
// what to do about it.
namespace report::printwords {

QString sentTo(const QString &printer, int sheets);
QString noPrinter(const QString &what);
QString unreachable(const QString &printer);
QString refused(const QString &printer, const QString &what, const QString &reason);
QString saved(const QString &what, const QString &path);
QString notSaved(const QString &what, const QString &path);

inline const QString PrintTitle = QStringLiteral("Print");
inline const QString PdfTitle = QStringLiteral("Save as PDF");

} // namespace report::printwords
