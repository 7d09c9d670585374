#include "accounts/core/accountforms.h"

#include "accounts/core/accountfields.h"
#include "ui/core/money.h"

#include <QLocale>

namespace accounts {

namespace {

using Control = ui::FormModel::Control;
using ui::Move;
namespace b = invoice::box;
namespace f = invoice::field;

} // namespace

const std::vector<InvoiceBox> &accountLabels()
{
    using T = InvoiceBox;
    const auto row = [](const QString &box, const char *label, const QString &field, T::Takes takes = T::Text) {
        return InvoiceBox{box, QLatin1String(label), field, takes};
    };
    static const std::vector<InvoiceBox> boxes = {
        row(b::IssueDate, "&Issue Date:", f::IssueDate),
        row(b::Claim, "Claim No.", QStringLiteral("ClaimNo")),
        row(b::DOA, "D.O.A.", QStringLiteral("DateOfAccident")),
        row(b::Firm, "Firm:", QStringLiteral("Firm")),
        row(b::amount(invoice::SubtotalBox), "Subtotal:", f::Subtotal, T::Total),
        row(b::amount(invoice::DiscountBox), "Discount:", f::Discount, T::Sum),
        row(b::amount(invoice::PaidBox), "Amount Paid:", f::AmountPaid, T::Sum),
        row(b::amount(invoice::BalanceBox), "Balance Due:", f::BalanceDue, T::Total),
        row(b::Practitioner, "Practitioner:", f::PayTo),
        row(b::Referrer, "Referrer:", f::Referrer, T::Capitals),
        row(b::DatePaid, "Date Paid:", QStringLiteral("DatePaid")),
        row(b::Cash, "Cash:", f::Cash, T::Check),
        row(b::Cheque, "Check:", QStringLiteral("Cheque"), T::Check),
        row(b::Card, "Credit Card:", QStringLiteral("Visa"), T::Check),
    };
    return boxes;
}

QString invoiceLabel(const QString &box)
{
    for (const InvoiceBox &l : accountLabels())
        if (l.box == box)
            return QString(l.label).remove(QLatin1Char('&'));
    const std::pair<QString (*)(int), const char *> columns[] = {
        {b::date, "Date"}, {b::itemNo, "Item No."}, {b::description, "Service Description"}, {b::amount, "Fees ($)"}};
    for (const auto &[name, heading] : columns)
        for (int i = 0; i < invoice::Lines; ++i)
            if (box == name(i))
                return QStringLiteral("%1, line %2:").arg(QLatin1String(heading)).arg(i + 1);
    return box;
}

bool takesAmount(const QString &box)
{
    for (int i = 0; i < invoice::AmountBoxes; ++i)
        if (box == b::amount(i))
            return i != invoice::SubtotalBox && i != invoice::BalanceBox;
    return false;
}

bool takesCredit(const QString &box)
{
    for (int i = 0; i < invoice::Lines; ++i)
        if (box == b::amount(i))
            return true;
    return false;
}

QString amountRuleText(const QString &box)
{
    QLocale here;
    here.setNumberOptions({});   // with its thousands separators
    const ui::Money sample = ui::Money::fromCents(125050);
    return QStringLiteral("It takes a sum of money: digits with at most two decimals (%1), thousands "
                          "separators (%2) and a currency sign ($%2)%3, up to %4.")
        .arg(sample.text(), here.toString(1250.50, 'f', 2),
             takesCredit(box) ? QStringLiteral(", and a minus sign for a credit (-20.00)") : QString(),
             here.toString(double(ui::Money::MaxCents) / 100.0, 'f', 2));
}

ui::FormModel accountForm()
{
    ui::FormModel m;
    // An amount box refuses to be left holding anything but a sum of money;
    // a sum typed with separators or a sign is kept in the amount format.
    const auto amount = [](const QString &name, const QString &field) {
        const bool credit = takesCredit(name);
        return Control{.name = name, .field = field, .leave = [credit](const QString &t) {
                           if (t.trimmed().isEmpty())
                               return ui::LeaveResult{ui::LeaveResult::Ok, t};
                           const auto sum = ui::Money::readTyped(t, QLocale(), credit);
                           if (!sum)
                               return ui::LeaveResult{ui::LeaveResult::Stay, t};
                           return ui::LeaveResult{ui::LeaveResult::Ok, ui::Money::typedText(t, *sum)};
                       }};
    };
    for (const InvoiceBox &x : accountLabels()) {
        switch (x.takes) {
        case InvoiceBox::Sum: m.add(amount(x.box, x.field)); break;
        case InvoiceBox::Capitals: m.add({.name = x.box, .field = x.field, .letters = ui::FormModel::Case::Upper}); break;
        case InvoiceBox::Check: m.add({.name = x.box, .field = x.field, .text = false}); break;
        case InvoiceBox::Text:
        case InvoiceBox::Total: m.add({.name = x.box, .field = x.field}); break;
        }
        if (x.box != b::Firm)
            continue;
        for (int i = 0; i < invoice::Lines; ++i) {
            m.add({.name = b::date(i), .field = f::date(i)});
            m.add({.name = b::itemNo(i), .field = f::itemNo(i)});
            m.add({.name = b::description(i), .field = f::treatment(i)});
            m.add(amount(b::amount(i), f::amount(i)));
        }
    }

    // The claim boxes lead to the first service line, by Enter as by Tab.
    m.setMove(b::Claim, Move::Enter, b::DOA);
    m.setMove(b::DOA, Move::Enter, b::Firm);
    m.setMove(b::Firm, Move::Enter, b::description(0));

    // The four line columns: Up and Down stay in the column.
    const auto column = [&m](QString (*name)(int), int count, const QString &below) {
        for (int i = 0; i < count; ++i) {
            m.setMove(name(i), Move::Up, i == 0 ? b::IssueDate : name(i - 1));
            m.setMove(name(i), Move::Down, i == count - 1 ? below : name(i + 1));
        }
    };
    column(b::date, invoice::Lines, b::DatePaid);
    column(b::itemNo, invoice::Lines, b::Referrer);
    column(b::description, invoice::Lines, b::Referrer);
    column(b::amount, invoice::AmountBoxes, b::Card);

    m.setMove(b::IssueDate, Move::Down, b::description(0));
    m.setMove(b::IssueDate, Move::Right, b::Claim);
    m.setMove(b::Referrer, Move::Down, b::DatePaid);
    m.setMove(b::Referrer, Move::Up, b::description(invoice::Lines - 1));
    m.setMove(b::Referrer, Move::Right, b::amount(invoice::BalanceBox));
    m.setMove(b::DatePaid, Move::Down, b::Cash);
    m.setMove(b::DatePaid, Move::Right, b::Cheque);
    m.setMove(b::DatePaid, Move::Up, b::Referrer);
    m.setMove(b::Cash, Move::Right, b::Cheque);
    m.setMove(b::Cash, Move::Up, b::DatePaid);
    m.setMove(b::Cheque, Move::Left, b::Cash);
    m.setMove(b::Cheque, Move::Right, b::Card);
    m.setMove(b::Cheque, Move::Up, b::Referrer);
    m.setMove(b::Card, Move::Left, b::Cheque);
    m.setMove(b::Card, Move::Up, b::Referrer);
    return m;
}

} // namespace accounts
