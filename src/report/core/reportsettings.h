#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <exception>
#include <optional>

namespace report {

// A report run that could not be produced. Callers show `description`
// followed by their own retry question, so it reads as one sentence and
// carries no closing full stop.
struct ReportError : std::exception {
    explicit ReportError(const QString &text) : description(text), m_utf8(text.toUtf8()) {}
    const char *what() const noexcept override { return m_utf8.constData(); }

    QString description;

private:
    QByteArray m_utf8;
};

// What a caller sets on the engine before a run, as the invoice, letterhead
// and preprinted-paper windows know it.
struct ReportSettings {
    static constexpr int ToWindow = 0;   // a preview window on the screen
    static constexpr int ToPrinter = 1;  // the system's default printer

    // Page margins in twips (1440 to the inch). A margin left unset keeps
    // the one the layout file gives.
    std::optional<int> marginTop;
    std::optional<int> marginLeft;
    std::optional<int> marginBottom;
    std::optional<int> marginRight;

    // The data folder followed by "\invoice1.rpt" or the like; both
    // separators are accepted, a relative name is taken from dataDir. A
    // layout the data folder holds no copy of is the installed one.
    QString reportFile;

    // Each either empty or the open database file (the data folder
    // followed by "\db.mdb"); the report reads nothing else.
    std::array<QString, 3> dataFiles;

    // "{tbl_Accounts.Invoice}=" followed by the invoice number.
    QString selectionFormula;

    int destination = ToWindow;

    // The letterhead record (its LetterHead key) to print with; unset, the
    // one the invoice names. A design's sample shows the design on show
    // this way, leaving the invoice as it is.
    std::optional<int> letterhead;

    // The practice's data folder: relative file names are resolved against
    // it; empty means the program's own files.
    QString dataDir;
    // The installed layouts; empty means those of the running program.
    QString programFiles;
};

// The invoice number a selection formula selects. Only the one form the
// program writes is accepted: "{tbl_Accounts.Invoice}=" and a whole number,
// with blanks allowed around "=". Anything else throws ReportError, so no
// text of the formula ever reaches the database.
int parseSelectionFormula(const QString &formula);

// A file name as callers build it (folder + "\name"), with either separator,
// made absolute against baseDir when it is relative.
QString resolvePath(const QString &path, const QString &baseDir);

} // namespace report
