#pragma once

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <optional>
#include <vector>

namespace ui {

// What leaving a control did: the value it holds now, and whether the focus
// has to go back to it.
struct LeaveResult {
    enum Outcome { Ok, Stay };
    Outcome outcome = Ok;
    QString text;
    bool ok() const { return outcome == Ok; }
};

// The keys that move the focus between a form's controls.
enum class Move { Enter, Up, Down, Left, Right };

// The controls of a record-bound form and their rules, and the texts they
// hold. A window's binder finds each control by its name (its objectName);
// the record form reads and writes the bound fields through it.
class FormModel {
public:
    enum class Case { AsTyped, Upper };
    enum class EnterKey {
        Next,           // Enter moves on as Tab does (or as the focus map says)
        NextIfFilled,   // ... but stays in an empty box
        Press,          // Enter presses the control (a button, an option)
    };

    struct Control {
        QString name;                        // the control's objectName
        QString field{};                     // bound record field; empty: not bound
        Case letters = Case::AsTyped;
        // Characters the box takes (Backspace always passes); none: every one.
        std::function<bool(QChar)> accepts{};
        QString blankStoredAs{};             // what a blank box stores (null: blank)
        int maxLength = 0;                   // 0: no limit
        std::function<LeaveResult(const QString &)> leave{};  // none: kept as it is
        EnterKey enter = EnterKey::Next;
        bool text = true;                    // a text box (else a button, grid, option)
    };

    FormModel() = default;
    explicit FormModel(std::vector<Control> controls);

    void add(Control c);
    // Where a key moves the focus from a control (the Parts' arrow tables).
    void setMove(const QString &from, Move key, const QString &to);

    const std::vector<Control> &controls() const { return m_controls; }
    const Control *control(const QString &name) const;
    bool has(const QString &name) const { return control(name) != nullptr; }
    QStringList textControls() const;
    // The control bound to a field (case ignored), if any.
    const Control *boundTo(const QString &field) const;

    // Rules, without state.
    // The character a key press puts into the box, or nullopt when refused.
    std::optional<QChar> typed(const QString &name, QChar ch) const;
    // A pasted or loaded text with refused characters removed, letters in
    // capitals where typing makes them so, cut to the box's length.
    QString clean(const QString &name, const QString &text) const;
    LeaveResult leaveRule(const QString &name, const QString &text) const;
    std::optional<QString> moveFrom(const QString &name, Move key) const;
    // Enter in a box: where it goes (nullopt: it stays, or the window's own
    // next control when `tabOrder` is returned).
    struct EnterTarget {
        enum Kind { Stay, To, TabOrder, Press } kind = TabOrder;
        QString to;
    };
    EnterTarget enterFrom(const QString &name) const;

    // State: the texts of the boxes.
    QString text(const QString &name) const { return m_texts.value(name); }
    // The user's edit; returns the text kept (refused characters removed).
    QString setText(const QString &name, const QString &text);
    // A text put into a box by the program, as it is.
    void assign(const QString &name, const QString &text);
    // Leaving a box applies its rule to what it holds.
    LeaveResult leave(const QString &name);

    // The bound boxes take a record's values (as text; a null value is
    // empty) and count as unchanged from then on.
    void load(const QVariantMap &fieldValues);
    void clear();                           // every box empty and unchanged
    // What a bound box would store: its text, or the blank value.
    QString stored(const QString &name) const;
    // The text a bound box was loaded with.
    QString loaded(const QString &name) const { return m_loaded.value(name); }
    // Bound boxes the user changed: text and stored value both differ from
    // what they were loaded with (a box left blank over a blank is unchanged).
    QStringList changed() const;
    bool isChanged() const { return !changed().isEmpty(); }
    // Every bound box stores nothing but blanks.
    bool isBlank() const;

    // Page lock: no box takes typing while locked.
    bool locked() const { return m_locked; }
    void setLocked(bool on) { m_locked = on; }

    static QString asText(const QVariant &v);

private:
    std::vector<Control> m_controls;
    QHash<QString, QString> m_texts;
    QHash<QString, QString> m_loaded;
    QHash<QString, QString> m_moves;   // "from\nkey" -> to
    bool m_locked = false;
};

// Accepted-character rules used by several forms.
namespace accepts {
inline bool digits(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
inline std::function<bool(QChar)> only(const QString &set)
{
    return [set](QChar c) { return set.contains(c); };
}
} // namespace accepts

} // namespace ui
