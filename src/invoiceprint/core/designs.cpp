#include "invoiceprint/core/designs.h"

#include "ui/core/windows.h"

namespace invoiceprint {

namespace {

const QString Help = QStringLiteral(
    "Click Samples button to see the 4 designs available. Select the one most suited to your practice "
    "and click Design button +/- Clear button to begin your own letterhead design. When you have "
    "finished, click Save%1, then Preview to view your work on screen or Print to obtain a print-out. "
    "Press F2 key to remove this Help message. Thank you.");

PractitionerPair pair(int nameNo, int titleNo, int box)
{
    const QString b = QString::number(box);
    return {QStringLiteral("txtTherapist") + b, QStringLiteral("Therapist%1").arg(nameNo),
            QStringLiteral("txtTitle") + b, QStringLiteral("Title%1").arg(titleNo)};
}

std::vector<PractitionerPair> pairs(std::initializer_list<int> numbers)
{
    std::vector<PractitionerPair> out;
    for (int n : numbers)
        out.push_back(pair(n, n, n));
    return out;
}

std::vector<Design> makeDesigns()
{
    std::vector<Design> d(4);
    for (int i = 0; i < 4; ++i) {
        Design &x = d[size_t(i)];
        x.number = i + 1;
        x.window = QStringLiteral("frmLetterHead%1").arg(i + 1);
        x.caption = QStringLiteral("LetterHead Design Sample %1").arg(i + 1);
        x.receiptFile = QStringLiteral("\\invoice%1.rpt").arg(i + 1);
        x.unpaidFile = QStringLiteral("\\account%1.rpt").arg(i + 1);
        x.next = (i + 1) % 4 + 1;
        x.help = Help.arg(QString());
    }

    Design &one = d[0];
    one.arrangement = Arrangement::CentreColumn;
    one.left = pairs({1, 3, 5, 7});
    one.right = pairs({2, 4, 6, 8});
    one.rereadOnArrive = false;
    one.clearGoesToOwn = false;
    one.help = Help.arg(QStringLiteral(" "));

    // Design 2 has no box for Therapist4 and shows Therapist6 twice. Each box
    // keeps its own field, so what is typed lands where the box says; the
    // titles are paired with the boxes in reading order.
    Design &two = d[1];
    two.arrangement = Arrangement::LeftColumn;
    two.left = {pair(1, 1, 1), pair(3, 4, 3), pair(5, 5, 5), pair(7, 7, 7)};
    two.right = {pair(2, 2, 2), pair(6, 3, 4), pair(6, 6, 6), pair(8, 8, 8)};
    two.previewBusy = false;

    Design &three = d[2];
    three.arrangement = Arrangement::Rows;
    three.left = pairs({1, 2, 3, 4});
    three.shownRecord = 2;
    three.previewBusy = false;

    Design &four = d[3];
    four.arrangement = Arrangement::RightColumn;
    four.caption = QStringLiteral("Letterhead Design Sample 4");
    four.left = pairs({1, 2, 3, 4});
    return d;
}

} // namespace

std::vector<PractitionerPair> Design::pairs() const
{
    std::vector<PractitionerPair> all = left;
    all.insert(all.end(), right.begin(), right.end());
    return all;
}

const std::vector<Design> &designs()
{
    static const std::vector<Design> table = makeDesigns();
    return table;
}

const Design &design(int number)
{
    return designs().at(size_t(std::clamp(number, 1, 4) - 1));
}

int designOf(const QString &window)
{
    for (const Design &d : designs())
        if (d.window == window)
            return d.number;
    return 0;
}

} // namespace invoiceprint
