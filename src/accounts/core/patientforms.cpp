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
    static const std::vector<Labelled> labels = {
        {b::Title, QStringLiteral("Title:")},
        {b::FirstName, QStringLiteral("First Name:")},
        {b::MI, QStringLiteral("M.I.:")},
        {b::LastName, QStringLiteral("Last Name:")},
        {b::Sex, QStringLiteral("Sex:")},
        {b::MaidenName, QStringLiteral("Maiden Name:")},
        {b::DOB, QStringLiteral("Date Of Birth:")},
        {b::Address, QStringLiteral("Address:")},
        {b::City, QStringLiteral("City:")},
        {b::State, QStringLiteral("State:")},
        {b::Zip, QStringLiteral("Zipcode:")},
        {b::HomeNo, QStringLiteral("Home Phone:")},
        {b::WorkNo, QStringLiteral("Work Phone:")},
        {b::SSN, QStringLiteral("Social Security No.:")},
        {b::HFN, QStringLiteral("Insurance/Health Fund No.:")},
        {b::Occup, QStringLiteral("Occupation:")},
        {b::Contact, QStringLiteral("Contact Person:")},
    };
    return labels;
}

ui::FormModel patientForm()
{
    namespace b = patient::box;
    namespace f = patient::field;
    const QStringList fields = patient::textFields();
    ui::FormModel m;
    const auto &labels = patientLabels();
    for (size_t i = 0; i < labels.size(); ++i) {
        Control c{.name = labels[i].box, .field = fields[int(i)], .letters = Upper};
        if (c.name == b::Sex)
            c.accepts = ui::accepts::only(QStringLiteral("MF"));
        if (c.name == b::SSN)
            c.blankStoredAs = QStringLiteral(" ");
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
