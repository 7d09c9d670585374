#pragma once

#include <QString>
#include <vector>

namespace invoiceprint {

// One practitioner's pair of boxes: the name box and the title box, each
// with the tbl_Letterhead field it shows.
struct PractitionerPair {
    QString nameBox;
    QString nameField;
    QString titleBox;
    QString titleField;
};

// How a design places its boxes on the window (and its report files on paper).
enum class Arrangement {
    CentreColumn,   // name across the top, contacts centred, practitioners either side
    LeftColumn,     // name top left, contacts down the left, practitioners in two columns right
    Rows,           // name across the top, contacts, then one row per practitioner
    RightColumn,    // name across the top, practitioners down the left, contacts on the right
};

// What makes one letterhead design window differ from the other three.
struct Design {
    int number = 1;
    QString window;          // registry name
    QString caption;
    QString receiptFile;     // "\invoiceN.rpt"
    QString unpaidFile;      // "\accountN.rpt"
    int next = 2;            // the design Samples opens
    Arrangement arrangement = Arrangement::CentreColumn;
    // Left (or only) column first, then the right column, in display order.
    std::vector<PractitionerPair> left;
    std::vector<PractitionerPair> right;
    int shownRecord = 1;     // position in tbl_Letterhead shown, from 1
    bool rereadOnArrive = true;
    bool clearGoesToOwn = true;   // Clear first moves to the practice's own design
    bool previewBusy = true;
    QString help;

    std::vector<PractitionerPair> pairs() const;
};

const Design &design(int number);      // 1 ... 4
const std::vector<Design> &designs();
// The design a registry name belongs to, or 0.
int designOf(const QString &window);

} // namespace invoiceprint
