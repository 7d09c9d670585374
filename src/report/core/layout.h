#pragma once

#include <QSet>
#include <QString>
#include <vector>

namespace report {

// Lengths in twips (1440 to the inch).
struct PageMargins {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
};

// One line of markup, or a directive with the lines it governs.
struct LayoutNode {
    enum class Kind { Text, If, Each };
    Kind kind = Kind::Text;
    int line = 0;              // line of the file, for messages
    QString text;              // Text: markup with {Field} placeholders
    QString subject;           // If: the field tested; Each: "line" or "practitioner"
    bool negate = false;       // If: "@if not Field"
    int step = 1;              // Each: 2 for "odd"/"even"
    int first = 1;             // Each: first number taken
    int last = 0;              // Each: last number taken
    std::vector<LayoutNode> children;
};

struct LayoutSection {
    QString name;
    int line = 0;
    std::vector<LayoutNode> nodes;
};

// A report layout file, parsed and checked: every placeholder names a known
// field and every directive is closed.
struct Layout {
    QString title;             // [report] title
    QString paper;             // "" (the printer's), "A4", "Letter" or "Legal"
    PageMargins margins;       // used where the caller sets none
    PageMargins inset;         // where the content sits inside the margins
    QString fontFamily = QStringLiteral("Arial");
    double fontSize = 10.0;    // points
    QString style;             // the [style] sheet
    std::vector<LayoutSection> sections;
    QSet<QString> fields;      // fields used, lower case

    // True when the layout prints texts of a letterhead record.
    bool usesLetterhead() const;
};

// A fault in a layout file, with the line it was found on.
struct LayoutError {
    int line = 0;
    QString message;
};

// Parses the text of a layout file; throws LayoutError.
Layout parseLayout(const QString &text);

// Field names a layout may use, lower case: columns of qry_Accounts, fields
// of tbl_Letterhead and the computed fields of merge.h.
const QSet<QString> &knownFields();
bool isLetterheadField(const QString &lowerName);

} // namespace report
