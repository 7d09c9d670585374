#include "report/core/merge.h"

#include "report/core/amount.h"
#include "ui/core/money.h"

#include <QStringList>

namespace report {

namespace {

const QString ticked = QStringLiteral("\u2612");   // a box with a cross
const QString unticked = QStringLiteral("\u2610"); // an empty box

bool yesNo(const QVariant &v)
{
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed().toLower();
        return s == QLatin1String("1") || s == QLatin1String("-1") || s == QLatin1String("true") ||
               s == QLatin1String("yes");
    }
    return v.toInt() != 0;
}

bool isTotal(const QString &lower)
{
    return lower == QLatin1String("subtotal") || lower == QLatin1String("discount") ||
           lower == QLatin1String("amountpaid") || lower == QLatin1String("balancedue");
}

bool isLineAmount(const QString &lower)
{
    return lower.size() == 7 && lower.startsWith(QLatin1String("amount")) && lower.at(6) >= QLatin1Char('1') &&
           lower.at(6) <= QLatin1Char('6');
}

QString joined(const QStringList &parts)
{
    QStringList kept;
    for (const QString &p : parts)
        if (!p.trimmed().isEmpty())
            kept << p.trimmed();
    return kept.join(QLatin1Char(' '));
}

struct Merger {
    const FieldValues &values;
    QString out;

    QString fill(const QString &text, int number) const
    {
        QString result;
        result.reserve(text.size());
        for (int i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c != QLatin1Char('{')) {
                result += c;
                continue;
            }
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('{')) {
                result += c;
                ++i;
                continue;
            }
            const int close = text.indexOf(QLatin1Char('}'), i + 1);
            const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
            if (close < 0 || !(next.isLetter() || next == QLatin1Char('_') || next == QLatin1Char('#'))) {
                result += c;  // the parser let it through as text
                continue;
            }
            QString name = text.mid(i + 1, close - i - 1);
            if (name == QLatin1String("#")) {
                result += QString::number(number);
            } else {
                if (name.endsWith(QLatin1Char('#')))
                    name = name.chopped(1) + QString::number(number);
                result += values.text(name).toHtmlEscaped();
            }
            i = close;
        }
        return result;
    }

    bool test(const LayoutNode &n, int number) const
    {
        QString name = n.subject;
        if (name.endsWith(QLatin1Char('#')))
            name = name.chopped(1) + QString::number(number);
        return values.isSet(name) != n.negate;
    }

    void render(const std::vector<LayoutNode> &nodes, int number)
    {
        for (const LayoutNode &n : nodes) {
            switch (n.kind) {
            case LayoutNode::Kind::Text:
                out += fill(n.text, number);
                out += QLatin1Char('\n');
                break;
            case LayoutNode::Kind::If:
                if (test(n, number))
                    render(n.children, number);
                break;
            case LayoutNode::Kind::Each:
                for (int k = n.first; k <= n.last; k += n.step) {
                    const bool present = n.subject == QLatin1String("line") ? values.hasLine(k)
                                                                           : values.hasPractitioner(k);
                    if (present)
                        render(n.children, k);
                }
                break;
            }
        }
    }
};

} // namespace

FieldValues::FieldValues(const QVariantMap &invoice, const QVariantMap &letterhead, const QString &title)
{
    QHash<QString, QVariant> raw;
    for (auto it = letterhead.begin(); it != letterhead.end(); ++it)
        raw.insert(it.key().toLower(), it.value());
    // The invoice's own columns win where a name is in both (LetterHead).
    for (auto it = invoice.begin(); it != invoice.end(); ++it)
        raw.insert(it.key().toLower(), it.value());

    for (auto it = raw.begin(); it != raw.end(); ++it) {
        const QString &key = it.key();
        const QString s = it.value().isNull() ? QString() : it.value().toString();
        if (isTotal(key)) {
            const ui::Money v = ui::Money::read(s);
            put(key, v.text(), !v.isZero());
        } else if (isLineAmount(key)) {
            const ui::Money v = ui::Money::read(s);
            put(key, s.trimmed().isEmpty() ? QString() : v.text(), !v.isZero());
        } else if (key == QLatin1String("cash") || key == QLatin1String("cheque") ||
                   key == QLatin1String("visa")) {
            const bool on = yesNo(it.value());
            put(key, on ? QStringLiteral("Yes") : QStringLiteral("No"), on);
        } else {
            put(key, s.trimmed(), !s.trimmed().isEmpty());
        }
    }
    // Totals always print, as 00.00 when the record leaves them empty.
    for (const char *t : {"subtotal", "discount", "amountpaid", "balancedue"})
        if (!m_text.contains(QLatin1String(t)))
            put(QLatin1String(t), ui::Money().text(), false);

    const auto v = [&raw](const char *name) { return raw.value(QLatin1String(name)).toString(); };
    const QString name = joined({v("title"), v("pfirstname"), v("pmi"), v("plastname")});
    put(QStringLiteral("patientname"), name, !name.isEmpty());
    const QString place = joined({v("pcity"), v("pstate"), v("pzip")});
    put(QStringLiteral("citystatezip"), place, !place.isEmpty());
    put(QStringLiteral("reporttitle"), title, !title.isEmpty());

    QStringList methods;
    const bool cash = isSet(QStringLiteral("cash"));
    const bool cheque = isSet(QStringLiteral("cheque"));
    const bool card = isSet(QStringLiteral("visa"));
    if (cash)
        methods << QStringLiteral("Cash");
    if (cheque)
        methods << QStringLiteral("Cheque");
    if (card)
        methods << QStringLiteral("Credit Card");
    put(QStringLiteral("paymentmethod"), methods.join(QStringLiteral(", ")), !methods.isEmpty());
    put(QStringLiteral("cashbox"), cash ? ticked : unticked, cash);
    put(QStringLiteral("chequebox"), cheque ? ticked : unticked, cheque);
    put(QStringLiteral("cardbox"), card ? ticked : unticked, card);
}

void FieldValues::put(const QString &name, const QString &text, bool set)
{
    m_text.insert(name, text);
    m_set.insert(name, set);
}

QString FieldValues::text(const QString &name) const
{
    return m_text.value(name.toLower());
}

bool FieldValues::isSet(const QString &name) const
{
    return m_set.value(name.toLower(), false);
}

bool FieldValues::hasLine(int n) const
{
    const QString s = QString::number(n);
    return isSet("date" + s) || isSet("itemno" + s) || isSet("treatment" + s) || isSet("amount" + s);
}

bool FieldValues::hasPractitioner(int n) const
{
    return isSet("therapist" + QString::number(n));
}

QString mergeLayout(const Layout &layout, const FieldValues &values)
{
    Merger m{values, {}};
    m.out = QStringLiteral("<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n")
                .arg(values.text(QStringLiteral("reporttitle")).toHtmlEscaped());
    if (!layout.style.trimmed().isEmpty())
        m.out += QStringLiteral("<style>\n") + layout.style + QStringLiteral("</style>\n");
    m.out += QStringLiteral("</head>\n<body>\n");
    for (const LayoutSection &s : layout.sections) {
        m.out += QStringLiteral("<!-- %1 -->\n").arg(s.name);
        m.render(s.nodes, 0);
    }
    m.out += QStringLiteral("</body>\n</html>\n");
    return m.out;
}

} // namespace report
