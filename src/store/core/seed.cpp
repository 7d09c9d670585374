#include "store/core/seed.h"

#include "store/core/database.h"

#include <QStringList>

namespace store {

namespace seed {

QString helpText()
{
    return QStringLiteral(
        "QUILLON - HELP\r\n\r\n"
        "THE APPOINTMENT BOOK\r\n"
        "Choose 1 on the main menu. The book opens on today's page: one row for every time slot, "
        "one column for every service provider.\r\n"
        "- To book, move to the cell with the arrow keys (or click it) and start typing the "
        "client's name. Press TAB to save the entry. Press ENTER to open a cell without typing.\r\n"
        "- If a slot is already taken you are asked before it is overwritten.\r\n"
        "- With more than one text line per slot, ENTER starts a new line and SHIFT+ENTER saves.\r\n"
        "- A click on another cell leaves the cell; if you changed it without saving you are "
        "reminded to press TAB first.\r\n\r\n"
        "MOVING BETWEEN DAYS\r\n"
        "Press TAB in the page to reach the month calendar, move with the arrow keys and press "
        "ENTER to open the day. Page Up and Page Down move by weeks. Click any day to open it. "
        "Today returns to today's page; Page > Open (Ctrl+O) opens a page by its date.\r\n\r\n"
        "BLOCKS AND COLOURS\r\n"
        "Click a start cell, then hold SHIFT and click the end cell to mark a block. Right-click "
        "for Copy, Cut, Paste, Delete, Color and Blockout. To colour cells choose a row count "
        "(One to Four) and a colour on the toolbar.\r\n\r\n"
        "MEMOS AND OFFICE STATUS\r\n"
        "F9 switches between the daily memo (kept with the page) and the fixed memo (shown on "
        "every page). The office status box marks the day open or closed. Pages of past days are "
        "locked against typing; untick Page Lock to change them.\r\n\r\n"
        "FUNCTION KEYS\r\n"
        "F1 Help, F2 Recurrent booking, F3 Refresh, F5 Search, F6/F7 next free slot by row or "
        "column, F8 Weekly view, F9 Memo, F10 Print, F11 leave the book.\r\n\r\n"
        "SETTING UP\r\n"
        "Main menu option 3 sets opening hours, slot length, providers and their names. Option 4 "
        "prepares a template for each weekday: block out the slots when a provider is not "
        "available, and mark days the practice is closed.\r\n");
}

QString help2Text()
{
    return QStringLiteral(
        "QUILLON - CLIENT FILES AND ACCOUNTS\r\n\r\n"
        "Find a client from the search window (main menu option 2) by name, date of birth, "
        "address, file number or social security number, then open the file or the accounts.\r\n"
        "- New creates a blank file; fill in at least the last name and save.\r\n"
        "- An invoice has six service lines. The subtotal and balance are worked out for you.\r\n"
        "- Enter an amount paid to turn the invoice into a receipt and tick how it was paid.\r\n"
        "- Preview shows the invoice on screen; Print sends it to the printer on your letterhead "
        "or on preprinted paper (main menu option 5 chooses which).\r\n"
        "Files and invoices 1 to 3 are samples and cannot be deleted.\r\n");
}

QString readmeText()
{
    return QStringLiteral(
        "WELCOME TO QUILLON\r\n\r\n"
        "Quillon runs the front desk of your practice: the appointment book, client files, "
        "invoices and receipts, and the backup of your data.\r\n\r\n"
        "GETTING STARTED\r\n"
        "1. Choose 3 (Setup Page) on the main menu. Describe your location, set the times of the "
        "first and last appointment, the length of a slot, the number of text lines per slot and "
        "the number of service providers, and type their names. Press Okay.\r\n"
        "2. Answer Yes to configure the page templates: for each weekday block out the slots when "
        "a provider does not see clients (for example lunch) and mark the days you are closed. "
        "Press TAB after each entry and the day button to go on to the next weekday.\r\n"
        "3. Open the appointment book (1) and start booking.\r\n\r\n"
        "SEVERAL WORKSTATIONS\r\n"
        "Every workstation may open the same data folder. Each booking is saved at once, and the "
        "book refreshes the page so that entries made elsewhere appear. Change the office status "
        "only when the other stations have closed the book.\r\n\r\n"
        "YOUR DATA\r\n"
        "All data is kept in db.mdb in the program folder. Back it up often: choose 6 (Backup "
        "Files) or answer Yes when leaving the program.\r\n\r\n"
        "Press the button below to return to the main menu.\r\n");
}

} // namespace seed

namespace {

QString defaultTemplate()
{
    // The first settings' page, empty: 08:00 AM to 05:00 PM by 30 minutes
    // is 19 time rows, with the free rows 22 rows of 3 cells (TAB between
    // cells, CR between rows).
    return QStringList(22, QStringLiteral("\t\t")).join(QChar(13));
}

void seedSettings(Database &db)
{
    const QString blankPage = defaultTemplate();
    QVariantMap s{{"location", "Office"},
                  {"open", "08:00 AM"},
                  {"Close", "05:00 PM"},
                  {"timeslot", 30},
                  {"RHeight", 1},
                  {"Listno", 3},
                  {"names", "Dr Avery%Dr Brook%Dr Chen%"},
                  {"cwidth", ""},
                  {"BookNo", "Book 1"},
                  {"FixedMemo", ""},
                  {"Timer1", false},
                  {"Refresh", 20},
                  {"Readme", seed::readmeText()},
                  {"Clinic", false},
                  {"Blockout", seed::DefaultBlockout},
                  {"Sites", ""},
                  {"DWidth", ""},
                  {"PMode", 1},
                  {"FillPage", false},
                  {"Spare", ""}};
    for (const char *day : {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"})
        s.insert(QString::fromLatin1(day), blankPage);
    // chk1 is Sunday ... chk7 Saturday: closed at the weekend.
    for (int i = 1; i <= 7; ++i)
        s.insert(QStringLiteral("chk%1").arg(i), i == 1 || i == 7);
    db.insert(tables::Setup, s);
}

void seedLetterheads(Database &db)
{
    struct Design {
        const char *clinic, *addr1, *addr2, *tel, *fax, *hours;
    };
    const Design designs[] = {
        {"Harbour View Physiotherapy", "12 Quay Street", "Port Elms 4021", "Tel: (07) 5550 1200",
         "Fax: (07) 5550 1201", "Mon - Fri 8:00 am - 5:00 pm"},
        {"Northside Family Practice", "Suite 3, 88 Grant Road", "Kellerton 2290",
         "Phone 5550 3344", "Fax 5550 3345", "Open weekdays and Saturday mornings"},
        {"Riverbend Chiropractic Centre", "7 Mill Lane", "Riverbend 3150", "Tel 5550 7788",
         "Fax 5550 7789", "Hours: 7:30 am - 6:00 pm"},
        {"Greenway Counselling Rooms", "Level 2, 140 Park Avenue", "Greenway 6012",
         "Telephone 5550 9090", "Facsimile 5550 9091", "By appointment"},
        // The practice's own design, to be changed in the letterhead window.
        {"Your Practice Name", "Street Address", "Town and Postcode", "Telephone", "Fax",
         "Opening Hours"},
    };
    const char *names[] = {"Dr Avery", "Dr Brook", "Dr Chen"};
    const char *titles[] = {"Physiotherapist", "General Practitioner", "Chiropractor"};
    for (const Design &d : designs) {
        QVariantMap r{{"Clinic1", d.clinic}, {"Address1", d.addr1}, {"Address2", d.addr2},
                      {"Telephone", d.tel},  {"Fax", d.fax},        {"HoursOpen", d.hours}};
        for (int i = 1; i <= 8; ++i) {
            r.insert(QStringLiteral("Therapist%1").arg(i), i <= 3 ? names[i - 1] : "");
            r.insert(QStringLiteral("Title%1").arg(i), i <= 3 ? titles[i - 1] : "");
        }
        db.insert(tables::Letterhead, r);
    }
}

void seedPatientsAndInvoices(Database &db)
{
    struct Patient {
        const char *title, *first, *mi, *last, *sex, *dob, *addr, *city, *state, *zip, *home, *ssn;
    };
    const Patient patients[] = {
        {"MR", "JOHN", "A", "SAMPLE", "M", "01/15/1960", "1 FIRST STREET", "PORT ELMS", "QL",
         "4021", "5550 0001", "111-11-1111"},
        {"MRS", "MARY", "B", "EXAMPLE", "F", "06/30/1972", "2 SECOND AVENUE", "KELLERTON", "NS",
         "2290", "5550 0002", "222-22-2222"},
        {"MS", "JANE", "C", "SPECIMEN", "F", "11/05/1985", "3 THIRD ROAD", "RIVERBEND", "VC",
         "3150", "5550 0003", "333-33-3333"},
    };
    int n = 0;
    for (const Patient &p : patients) {
        ++n;
        const int fileNo = db.insert(
            tables::PatientDetails,
            {{"Title", p.title},       {"PFirstName", p.first}, {"PMI", p.mi},
             {"PLastName", p.last},    {"Sex", p.sex},          {"MaidenName", ""},
             {"DateOfBirth", p.dob},   {"PAddress", p.addr},    {"PCity", p.city},
             {"PState", p.state},      {"PZip", p.zip},         {"HomeNo", p.home},
             {"WorkNo", ""},           {"SocialSecurityNo", p.ssn}, {"HealthFundNo", ""},
             {"Occupation", ""},       {"ContactPerson", ""}});
        const bool paid = n == 2;
        db.insert(tables::Accounts,
                  {{"FileNo", fileNo},
                   {"LetterHead", 1},
                   {"IssueDate", QStringLiteral("01/0%1/2026").arg(n)},
                   {"ClaimNo", ""},
                   {"DateOfAccident", ""},
                   {"Firm", ""},
                   {"Date1", QStringLiteral("01/0%1/2026").arg(n)},
                   {"ItemNo1", "100"},
                   {"Treatment1", "Initial consultation"},
                   {"Amount1", "75.00"},
                   {"Date2", QStringLiteral("01/0%1/2026").arg(n)},
                   {"ItemNo2", "210"},
                   {"Treatment2", "Treatment session"},
                   {"Amount2", "45.00"},
                   {"Subtotal", "120.00"},
                   {"Discount", "00.00"},
                   {"AmountPaid", paid ? "120.00" : "00.00"},
                   {"BalanceDue", paid ? "00.00" : "120.00"},
                   {"PayTo", "DR AVERY"},
                   {"Referrer", "SELF"},
                   {"DatePaid", paid ? "01/02/2026" : ""},
                   {"Cash", false},
                   {"Cheque", paid},
                   {"Visa", false}});
    }
}

} // namespace

void seedFirstRecords(Database &db)
{
    seedSettings(db);
    db.insert(tables::Order, {{"Help", seed::helpText()}, {"Help2", seed::help2Text()}});
    db.insert(tables::Print, {{"MarginTop", 2.00},
                              {"MarginBottom", 0.55},
                              {"MarginLeft", 0.12},
                              {"MarginRight", 0.12},
                              {"Account", "\\accountnl.rpt"},
                              {"invoice", "\\invoicenl.rpt"}});
    seedLetterheads(db);
    seedPatientsAndInvoices(db);
}

} // namespace store
