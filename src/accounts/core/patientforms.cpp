#include "accounts/core/patientforms.h"

#include "accounts/core/patientfields.h"

namespace accounts {

namespace {

using Control = ui::FormModel::Control;
using ui::Move;
constexpr auto Upper = ui::FormModel::Case::Upper;

void moves(ui::FormModel &m, Move key, std::initializer_list<std::pair<QString, QString>> table)
{
    for (const auto &[from, to] : table)
        m.setMove(from, key, to);
}

} // namespace

const std::vector<Labelled> &patientLabels()
{
    namespace b = patient::box;
    const auto row = [](const QString &box, const char *label, const char *field, int listColumn,
                        const char *accepts = "", const char *blankStoredAs = nullptr) {
        return Labelled{box, QLatin1String(label), QLatin1String(field), QLatin1String(accepts),
                        blankStoredAs ? QString::fromLatin1(blankStoredAs) : QString(), listColumn};
    };
    static const std::vector<Labelled> boxes = {
        row(b::Title, "Title:", "Title", -1),
        row(b::FirstName, "First Name:", "PFirstName", 2),
        row(b::MI, "M.I.:", "PMI", 3),
        row(b::LastName, "Last Name:", "PLastName", 1),
        row(b::Sex, "Sex:", "Sex", 5, "MF"),
        row(b::MaidenName, "Maiden Name:", "MaidenName", 6),
        row(b::DOB, "Date Of Birth:", "DateOfBirth", 4),
        row(b::Address, "Address:", "PAddress", 7),
        row(b::City, "City:", "PCity", 8),
        row(b::State, "State:", "PState", 9),
        row(b::Zip, "Zipcode:", "PZip", 10),
        row(b::HomeNo, "Home Phone:", "HomeNo", 12),
        row(b::WorkNo, "Work Phone:", "WorkNo", 11),
        row(b::SSN, "Social Security No.:", "SocialSecurityNo", 14, "", " "),
        row(b::HFN, "Insurance/Health Fund No.:", "HealthFundNo", 15),
        row(b::Occup, "Occupation:", "Occupation", 13),
        row(b::Contact, "Contact Person:", "ContactPerson", 16),
    };
    return boxes;
}

QStringList patientFields()
{
    QStringList fields;
    for (const Labelled &l : patientLabels())
        fields << l.field;
    return fields;
}

ui::FormModel patientForm()
{
    namespace b = patient::box;
    ui::FormModel m;
    for (const Labelled &l : patientLabels()) {
        Control c{.name = l.box, .field = l.field, .letters = Upper, .blankStoredAs = l.blankStoredAs};
        if (!l.accepts.isEmpty())
            c.accepts = ui::accepts::only(l.accepts);
        m.add(std::move(c));
    }
    m.add({.name = b::Invoice, .enter = ui::FormModel::EnterKey::Press, .text = false});

    moves(m, Move::Down,
          {{b::FirstName, b::DOB},     {b::MI, b::Sex},           {b::LastName, b::MaidenName},
           {b::Sex, b::Address},       {b::MaidenName, b::Address}, {b::DOB, b::Address},
           {b::Address, b::City},      {b::City, b::HomeNo},      {b::State, b::HomeNo},
           {b::Zip, b::WorkNo},        {b::HomeNo, b::SSN},       {b::WorkNo, b::HFN},
           {b::SSN, b::Occup},         {b::HFN, b::Contact},      {b::Occup, b::Invoice},
           {b::Contact, b::Invoice}});
    moves(m, Move::Up,
          {{b::Sex, b::MI},            {b::MaidenName, b::LastName}, {b::DOB, b::FirstName},
           {b::Address, b::DOB},       {b::City, b::Address},     {b::State, b::Address},
           {b::Zip, b::Address},       {b::HomeNo, b::City},      {b::WorkNo, b::Zip},
           {b::SSN, b::HomeNo},        {b::HFN, b::WorkNo},       {b::Occup, b::SSN},
           {b::Contact, b::HFN},       {b::Invoice, b::Occup}});
    moves(m, Move::Left, {{b::FirstName, b::Title}});
    return m;
}

const std::vector<Labelled> &searchLabels()
{
    static const std::vector<Labelled> labels = {
        {search::FileNo, QStringLiteral("File Number:")},
        {search::FirstName, QStringLiteral("First Name:")},
        {search::MI, QStringLiteral("M.I.:")},
        {search::LastName, QStringLiteral("Last Name:")},
        {search::DOB, QStringLiteral("Date Of Birth:")},
        {search::Address, QStringLiteral("Address:")},
        {search::SSN, QStringLiteral("SSN/NRIC:")},
    };
    return labels;
}

ui::FormModel searchMenuForm()
{
    using namespace search;
    ui::FormModel m;
    for (const Labelled &l : searchLabels())
        m.add({.name = l.box, .letters = Upper});
    // Enter moves on from every control, buttons and options included.
    for (const QString &name : {NewClient, ExistingClient, Search, Files, Cancel, Exit, Accounts})
        m.add({.name = name, .text = false});
    moves(m, Move::Down,
          {{FileNo, FirstName}, {FirstName, DOB}, {LastName, Address}, {MI, Address},
           {DOB, Address},      {Address, SSN}});
    moves(m, Move::Up,
          {{FileNo, ExistingClient}, {FirstName, FileNo}, {LastName, FileNo}, {MI, FileNo},
           {DOB, FirstName},         {Address, DOB},      {SSN, Address},     {Search, SSN}});
    return m;
}

} // namespace accounts
