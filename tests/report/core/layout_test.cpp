#include "report/core/layout.h"
#include "report/core/merge.h"
#include "reportfixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace report;

namespace {

const QString head = QStringLiteral("[report]\nformat = 1\ntitle = TAX INVOICE\n");

LayoutError errorOf(const QString &text)
{
    try {
        parseLayout(text);
    } catch (const LayoutError &e) {
        return e;
    }
    return {0, QStringLiteral("no error")};
}

QString merged(const QString &body, const QVariantMap &invoice, const QVariantMap &letterhead = {})
{
    const Layout l = parseLayout(head + "[body]\n" + body);
    return mergeLayout(l, FieldValues(invoice, letterhead, l.title));
}

} // namespace

TEST(LayoutFile, ReadsPageSettingsInAnyUnit)
{
    const Layout l = parseLayout(head +
                                 "; a comment\r\n"
                                 "paper = a4\n"
                                 "margins = 1in 2.54cm 10mm 72pt\n"
                                 "inset = 360\n"
                                 "font = Georgia\n"
                                 "size = 11.5\n"
                                 "[style]\n"
                                 "#x { color: red; }\n"
                                 "[body]\n"
                                 "<p>{PLastName}</p>\n");
    EXPECT_EQ(l.title, "TAX INVOICE");
    EXPECT_EQ(l.paper, "A4");
    EXPECT_EQ(l.margins.top, 1440);
    EXPECT_EQ(l.margins.left, 1440);
    EXPECT_EQ(l.margins.bottom, 567);
    EXPECT_EQ(l.margins.right, 1440);
    EXPECT_EQ(l.inset.left, 360);
    EXPECT_EQ(l.fontFamily, "Georgia");
    EXPECT_EQ(l.fontSize, 11.5);
    EXPECT_TRUE(l.style.contains("#x { color: red; }"));
    ASSERT_EQ(l.sections.size(), 1u);
    EXPECT_FALSE(l.usesLetterhead());
}

TEST(LayoutFile, NamesTheLineOfEachFault)
{
    struct Case {
        QString text;
        int line;
        QString says;
    };
    const Case cases[] = {
        {"<p>text</p>\n", 1, "must begin with a [report] section"},
        {"\n[body]\n<p/>\n", 2, "must begin with a [report] section"},
        {"[report]\ntitle = X\n[body]\n<p/>\n", 1, "format = 1"},
        {"[report]\nformat = 2\n", 2, "format 2 is not known"},
        {head + "colour = blue\n", 4, "unknown key \"colour\""},
        {head + "margins = 1in 2in\n", 4, "one length, or four"},
        {head + "margins = wide\n", 4, "\"wide\" is not a length"},
        {head + "[body]\n<p>{PFristName}</p>\n", 5, "unknown field PFristName"},
        {head + "[body]\n<p>{PLastName</p>\n", 5, "malformed placeholder"},
        {head + "[body]\n<td>{Date#}</td>\n", 5, "{Date#} is used outside @each"},
        {head + "[body]\n<p/>\n@if Firm\n<p>{Firm}</p>\n[more]\n", 6, "this @if has no @end"},
        {head + "[body]\n@each line\n@if Firm\n@end\n", 5, "this @each has no @end"},
        {head + "[body]\n@end\n", 5, "@end without @if or @each"},
        {head + "[body]\n@repeat 3\n", 5, "unknown directive @repeat"},
        {head + "[body]\n@each practitioner 3-9\n@end\n", 5, "within 1-8"},
        {head + "[body]\n@if Nobody\n@end\n", 5, "unknown field Nobody"},
        {head + "[report]\nformat = 1\n", 4, "[report] appears twice"},
        {head, 4, "no section to print"},
        {QString::fromLatin1("\xD0\xCF\x11\xE0", 4) + QChar(0) + "binary", 1, "not a report layout file"},
    };
    for (const Case &c : cases) {
        const LayoutError e = errorOf(c.text);
        EXPECT_EQ(e.line, c.line) << c.text.toStdString() << " : " << e.message.toStdString();
        EXPECT_TRUE(e.message.contains(c.says)) << e.message.toStdString();
    }
}

TEST(LayoutMerge, EscapesValuesSoNoRecordTextBecomesMarkup)
{
    const QString html = merged("<p>{PFirstName} {{not a field}</p>\n",
                                {{"PFirstName", "<b>O'Neil & Co</b>"}});
    EXPECT_TRUE(html.contains("&lt;b&gt;O'Neil &amp; Co&lt;/b&gt; {not a field}"));
    EXPECT_FALSE(html.contains("<b>O'Neil"));
}

TEST(LayoutMerge, FillsComputedFieldsAndAmounts)
{
    const QVariantMap invoice{{"Title", "MR"},        {"PFirstName", "JOHN"}, {"PMI", ""},
                              {"PLastName", "SAMPLE"}, {"PCity", "PORT ELMS"}, {"PState", "QL"},
                              {"PZip", "4021"},        {"Amount1", "75"},      {"Amount2", ""},
                              {"Subtotal", "75"},      {"Discount", ""},       {"AmountPaid", "75.5"},
                              {"Cash", 0},             {"Cheque", 1},          {"Visa", "true"}};
    const QString html = merged("<p>{PatientName}|{CityStateZip}|{ReportTitle}</p>\n"
                                "<p>{Amount1}|{Amount2}|{Subtotal}|{Discount}|{AmountPaid}|{BalanceDue}</p>\n"
                                "<p>{PaymentMethod}|{CashBox}{ChequeBox}{CardBox}|{Cash}</p>\n",
                                invoice);
    EXPECT_TRUE(html.contains("<p>MR JOHN SAMPLE|PORT ELMS QL 4021|TAX INVOICE</p>"));
    EXPECT_TRUE(html.contains("<p>75.00||75.00|00.00|75.50|00.00</p>"));
    EXPECT_TRUE(html.contains(QStringLiteral("<p>Cheque, Credit Card|\u2610\u2612\u2612|No</p>")));
}

TEST(LayoutMerge, ConditionsAndRepeatsFollowTheRecord)
{
    const QVariantMap invoice{{"Discount", "00.00"}, {"AmountPaid", "12"}, {"Firm", " "},
                              {"Date1", "01/01/2026"}, {"Treatment1", "Consult"}, {"Amount1", "50"},
                              {"Treatment3", "Follow-up"}, {"Amount4", "0"}};
    const QVariantMap letterhead{{"Therapist1", "Dr A"}, {"Therapist2", "Dr B"}, {"Therapist4", "Dr D"},
                                 {"Title4", "Chiropractor"}};
    const QString html = merged("@if Discount\n<p>discount</p>\n@end\n"
                                "@if AmountPaid\n<p>paid</p>\n@end\n"
                                "@if not Firm\n<p>no firm</p>\n@end\n"
                                "@each line\n<tr><td>{#}:{Treatment#}={Amount#}</td></tr>\n@end\n"
                                "@each practitioner even\n<i>{Therapist#} {Title#}</i>\n@end\n",
                                invoice, letterhead);
    EXPECT_FALSE(html.contains("discount"));
    EXPECT_TRUE(html.contains("<p>paid</p>"));
    EXPECT_TRUE(html.contains("<p>no firm</p>"));
    EXPECT_TRUE(html.contains("<tr><td>1:Consult=50.00</td></tr>\n<tr><td>3:Follow-up=</td></tr>\n"))
        << html.toStdString();
    EXPECT_FALSE(html.contains("2:"));
    EXPECT_FALSE(html.contains("4:"));  // a line whose only fee is 0 is empty
    EXPECT_TRUE(html.contains("<i>Dr B </i>\n<i>Dr D Chiropractor</i>"));
    EXPECT_FALSE(html.contains("Dr A"));
}

TEST(ShippedLayouts, AllParseAndOnlyThePreprintedOnesLeaveOutTheLetterhead)
{
    const QDir dir(reporttest::shippedLayouts());
    QStringList expected;
    for (const char *kind : {"account", "invoice"})
        for (const char *n : {"1", "2", "3", "4", "nl"})
            expected << QString::fromLatin1(kind) + QString::fromLatin1(n) + ".rpt";
    for (const QString &name : expected) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        Layout l;
        try {
            l = parseLayout(QString::fromUtf8(f.readAll()));
        } catch (const LayoutError &e) {
            FAIL() << name.toStdString() << " line " << e.line << ": " << e.message.toStdString();
        }
        EXPECT_EQ(l.usesLetterhead(), !name.contains("nl")) << name.toStdString();
        EXPECT_EQ(l.title, name.startsWith("account") ? "TAX INVOICE" : "RECEIPT") << name.toStdString();
        // A receipt shows when and how it was paid.
        const bool receipt = name.startsWith("invoice");
        EXPECT_EQ(l.fields.contains("datepaid"), receipt) << name.toStdString();
        EXPECT_EQ(l.fields.contains("chequebox"), receipt) << name.toStdString();
    }
}
