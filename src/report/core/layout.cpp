#include "report/core/layout.h"

#include "store/core/schema.h"

#include <QRegularExpression>
#include <QStringList>

namespace report {

namespace {

const QStringList computedFields = {
    QStringLiteral("PatientName"), QStringLiteral("CityStateZip"),
    QStringLiteral("ReportTitle"), QStringLiteral("PaymentMethod"),
    QStringLiteral("CashBox"),     QStringLiteral("ChequeBox"),
    QStringLiteral("CardBox"),
};

[[noreturn]] void fail(int line, const QString &message)
{
    throw LayoutError{line, message};
}

// "1in", "2.5cm", "10mm", "72pt", or a bare number of twips.
int parseLength(const QString &text, int line)
{
    static const QRegularExpression form(QStringLiteral(R"(^([0-9]+(?:\.[0-9]+)?)\s*(in|cm|mm|pt|tw)?$)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = form.match(text.trimmed());
    if (!m.hasMatch())
        fail(line, QStringLiteral("\"%1\" is not a length (use in, cm, mm, pt or twips)").arg(text.trimmed()));
    const double v = m.captured(1).toDouble();
    const QString unit = m.captured(2).toLower();
    double twips = v;
    if (unit == QLatin1String("in"))
        twips = v * 1440.0;
    else if (unit == QLatin1String("cm"))
        twips = v * 1440.0 / 2.54;
    else if (unit == QLatin1String("mm"))
        twips = v * 1440.0 / 25.4;
    else if (unit == QLatin1String("pt"))
        twips = v * 20.0;
    if (twips > 20 * 1440)
        fail(line, QStringLiteral("\"%1\" is longer than a page").arg(text.trimmed()));
    return qRound(twips);
}

// One length for all four sides, or four: top, left, bottom, right.
PageMargins parseMargins(const QString &text, int line)
{
    const QStringList parts = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (parts.size() == 1) {
        const int v = parseLength(parts[0], line);
        return {v, v, v, v};
    }
    if (parts.size() != 4)
        fail(line, QStringLiteral("give one length, or four: top, left, bottom, right"));
    return {parseLength(parts[0], line), parseLength(parts[1], line), parseLength(parts[2], line),
            parseLength(parts[3], line)};
}

struct Parser {
    Layout out;
    bool reportSeen = false;
    bool formatSeen = false;
    int reportLine = 0;
    enum class In { Nothing, Report, Style, Block } in = In::Nothing;
    std::vector<LayoutNode *> open;  // directives not yet closed, innermost last

    std::vector<LayoutNode> &target()
    {
        return open.empty() ? out.sections.back().nodes : open.back()->children;
    }

    const LayoutNode *innermostEach() const
    {
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            if ((*it)->kind == LayoutNode::Kind::Each)
                return *it;
        return nullptr;
    }

    void closeSection()
    {
        if (!open.empty())
            fail(open.back()->line, QStringLiteral("this %1 has no @end")
                                        .arg(open.back()->kind == LayoutNode::Kind::If ? "@if" : "@each"));
    }

    // A field used by a placeholder or a directive; "#" stands for the
    // number of the repeated line.
    void useField(const QString &name, int line)
    {
        QString concrete = name;
        if (name.endsWith(QLatin1Char('#'))) {
            const LayoutNode *each = innermostEach();
            if (!each)
                fail(line, QStringLiteral("{%1} is used outside @each").arg(name));
            concrete = name.chopped(1) + QString::number(each->first);
            if (name == QLatin1String("#"))
                return;
        }
        const QString lower = concrete.toLower();
        if (!knownFields().contains(lower))
            fail(line, QStringLiteral("unknown field %1").arg(name));
        out.fields.insert(lower);
        if (name.endsWith(QLatin1Char('#'))) {
            // Every number the loop can take counts as used, and each must
            // name a field there is (a loop may reach past the last one).
            const LayoutNode *each = innermostEach();
            for (int n = each->first; n <= each->last; ++n) {
                const QString field = (name.chopped(1) + QString::number(n)).toLower();
                if (!knownFields().contains(field))
                    fail(line, QStringLiteral("unknown field %1 (as %2 in this loop)").arg(name, field));
                out.fields.insert(field);
            }
        }
    }

    void checkPlaceholders(const QString &text, int line)
    {
        static const QRegularExpression ph(QStringLiteral(R"(\G\{([A-Za-z_][A-Za-z0-9_]*#?|#)\})"));
        for (int i = 0; i < text.size(); ++i) {
            if (text.at(i) != QLatin1Char('{'))
                continue;
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('{')) {
                ++i;  // "{{" is a brace of the text
                continue;
            }
            const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
            if (!(next.isLetter() || next == QLatin1Char('_') || next == QLatin1Char('#')))
                continue;
            const auto m = ph.match(text, i);
            if (!m.hasMatch())
                fail(line, QStringLiteral("malformed placeholder at \"%1\"").arg(text.mid(i, 24)));
            useField(m.captured(1), line);
            i = m.capturedEnd() - 1;
        }
    }

    void reportKey(const QString &raw, int line)
    {
        const int eq = raw.indexOf(QLatin1Char('='));
        if (eq < 0)
            fail(line, QStringLiteral("expected key = value"));
        const QString key = raw.left(eq).trimmed().toLower();
        const QString value = raw.mid(eq + 1).trimmed();
        if (key == QLatin1String("format")) {
            if (value != QLatin1String("1"))
                fail(line, QStringLiteral("format %1 is not known (this program reads format 1)").arg(value));
            formatSeen = true;
        } else if (key == QLatin1String("title")) {
            out.title = value;
        } else if (key == QLatin1String("paper")) {
            static const QStringList papers = {"A4", "Letter", "Legal"};
            out.paper.clear();
            for (const QString &p : papers)
                if (value.compare(p, Qt::CaseInsensitive) == 0)
                    out.paper = p;
            if (out.paper.isEmpty() && value.compare(QLatin1String("printer"), Qt::CaseInsensitive) != 0)
                fail(line, QStringLiteral("paper must be A4, Letter, Legal or printer"));
        } else if (key == QLatin1String("margins")) {
            out.margins = parseMargins(value, line);
        } else if (key == QLatin1String("inset")) {
            out.inset = parseMargins(value, line);
        } else if (key == QLatin1String("font")) {
            if (value.isEmpty())
                fail(line, QStringLiteral("font needs a family name"));
            out.fontFamily = value;
        } else if (key == QLatin1String("size")) {
            bool ok = false;
            const double size = value.toDouble(&ok);
            if (!ok || size < 4 || size > 72)
                fail(line, QStringLiteral("size must be a number of points from 4 to 72"));
            out.fontSize = size;
        } else {
            fail(line, QStringLiteral("unknown key \"%1\" in [report]").arg(key));
        }
    }

    void directive(const QString &d, int line)
    {
        const QStringList w = d.mid(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString verb = w.value(0).toLower();
        if (verb == QLatin1String("end")) {
            if (w.size() != 1)
                fail(line, QStringLiteral("@end takes nothing after it"));
            if (open.empty())
                fail(line, QStringLiteral("@end without @if or @each"));
            open.pop_back();
            return;
        }
        LayoutNode node;
        node.line = line;
        if (verb == QLatin1String("if")) {
            node.kind = LayoutNode::Kind::If;
            node.negate = w.size() == 3 && w[1].compare(QLatin1String("not"), Qt::CaseInsensitive) == 0;
            if (w.size() != (node.negate ? 3 : 2))
                fail(line, QStringLiteral("write @if Field or @if not Field"));
            node.subject = w.last();
            static const QRegularExpression name(QStringLiteral(R"(^[A-Za-z_][A-Za-z0-9_]*#?$)"));
            if (!name.match(node.subject).hasMatch())
                fail(line, QStringLiteral("\"%1\" is not a field name").arg(node.subject));
            useField(node.subject, line);
        } else if (verb == QLatin1String("each")) {
            node.kind = LayoutNode::Kind::Each;
            const QString what = w.value(1).toLower();
            if (what == QLatin1String("line"))
                node.last = 6;
            else if (what == QLatin1String("practitioner"))
                node.last = 8;
            else
                fail(line, QStringLiteral("write @each line or @each practitioner"));
            node.subject = what;
            const int max = node.last;
            if (w.size() == 3) {
                static const QRegularExpression range(QStringLiteral(R"(^([0-9]+)-([0-9]+)$)"));
                const QString f = w[2].toLower();
                const auto m = range.match(f);
                if (f == QLatin1String("odd")) {
                    node.step = 2;
                } else if (f == QLatin1String("even")) {
                    node.step = 2;
                    node.first = 2;
                } else if (m.hasMatch()) {
                    node.first = m.captured(1).toInt();
                    node.last = m.captured(2).toInt();
                    if (node.first < 1 || node.last > max || node.first > node.last)
                        fail(line, QStringLiteral("the range must lie within 1-%1").arg(max));
                } else {
                    fail(line, QStringLiteral("\"%1\" is not odd, even or a range such as 1-4").arg(w[2]));
                }
            } else if (w.size() > 3) {
                fail(line, QStringLiteral("too many words after @each"));
            }
        } else {
            fail(line, QStringLiteral("unknown directive @%1").arg(verb));
        }
        target().push_back(std::move(node));
        open.push_back(&target().back());
    }

    void parseLine(QString raw, int line)
    {
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        const QString t = raw.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1Char(';')))
            return;
        static const QRegularExpression header(QStringLiteral(R"(^\[([A-Za-z][A-Za-z0-9_-]*)\]$)"));
        const auto h = header.match(t);
        if (h.hasMatch()) {
            closeSection();
            const QString name = h.captured(1).toLower();
            if (!reportSeen && name != QLatin1String("report"))
                fail(line, QStringLiteral("the file must begin with a [report] section"));
            if (name == QLatin1String("report")) {
                if (reportSeen)
                    fail(line, QStringLiteral("[report] appears twice"));
                reportSeen = true;
                reportLine = line;
                in = In::Report;
            } else if (name == QLatin1String("style")) {
                in = In::Style;
            } else {
                in = In::Block;
                out.sections.push_back({name, line, {}});
            }
            return;
        }
        switch (in) {
        case In::Nothing:
            fail(line, QStringLiteral("this is not a report layout file: it must begin with a [report] section"));
        case In::Report:
            reportKey(t, line);
            return;
        case In::Style:
            out.style += raw + QLatin1Char('\n');
            return;
        case In::Block:
            break;
        }
        if (t.startsWith(QLatin1String("@@"))) {
            raw = raw.mid(raw.indexOf(QLatin1Char('@')) + 1);
        } else if (t.startsWith(QLatin1Char('@'))) {
            directive(t, line);
            return;
        }
        checkPlaceholders(raw, line);
        LayoutNode node;
        node.line = line;
        node.text = raw;
        target().push_back(std::move(node));
    }
};

} // namespace

bool Layout::usesLetterhead() const
{
    for (const QString &f : fields)
        if (isLetterheadField(f))
            return true;
    return false;
}

const QSet<QString> &knownFields()
{
    static const QSet<QString> all = [] {
        QSet<QString> s;
        for (const QString &c : store::accountsQuery().columns)
            s.insert(c.toLower());
        if (const store::TableDef *t = store::findTable(store::tables::Letterhead))
            for (const QString &f : t->fieldNames())
                s.insert(f.toLower());
        for (const QString &c : computedFields)
            s.insert(c.toLower());
        return s;
    }();
    return all;
}

bool isLetterheadField(const QString &lowerName)
{
    static const QSet<QString> fields = [] {
        QSet<QString> s;
        if (const store::TableDef *t = store::findTable(store::tables::Letterhead))
            for (const QString &f : t->fieldNames())
                if (f.compare(t->key, Qt::CaseInsensitive) != 0)
                    s.insert(f.toLower());
        return s;
    }();
    return fields.contains(lowerName);
}

Layout parseLayout(const QString &text)
{
    if (text.contains(QChar(0)) || text.contains(QChar(QChar::ReplacementCharacter)))
        fail(1, QStringLiteral("this is not a report layout file of this program"));
    Parser p;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i)
        p.parseLine(lines[i], i + 1);
    p.closeSection();
    if (!p.reportSeen)
        fail(1, QStringLiteral("the file must begin with a [report] section"));
    if (!p.formatSeen)
        fail(p.reportLine, QStringLiteral("[report] must give format = 1"));
    if (p.out.sections.empty())
        fail(lines.size(), QStringLiteral("the layout has no section to print"));
    return std::move(p.out);
}

} // namespace report
