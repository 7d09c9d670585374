#pragma once

#include "setup/core/setupfields.h"
#include "store/core/settings.h"
#include "ui/core/gridmodel.h"

#include <QString>
#include <optional>

namespace ui {
struct Services;
}

namespace setup {

// The practice setup window (frmSetup) without its widgets: the field
// values, the names grid, the field rules and saving the settings. The
// window forwards its events here and shows what this holds.
class SetupController {
public:
    static inline const QString Caption = QStringLiteral("  Set-up Page");

    explicit SetupController(ui::Services &services);
    SetupController(const SetupController &) = delete;
    SetupController &operator=(const SetupController &) = delete;

    // Form_Load: takes the width factor (screen width / the window's design
    // width) as the program-wide one, reads the settings record into the
    // fields and builds the names grid. False when the record cannot be read
    // (the message has been shown).
    bool load(double widthFactor);

    // The form the window's binder works on.
    ui::FormModel &formModel() { return m_form; }

    // Field values, as the text boxes show them.
    QString text(Field f) const;
    // The user's edit of a field; returns the text kept (refused characters
    // removed), which the window shows when it differs from what it has.
    QString setText(Field f, const QString &text);
    // Leaving a field: corrections are made silently; Stay means the focus
    // goes back. Leaving Text5 rebuilds the names grid from the stored
    // names and widths.
    LeaveResult leave(Field f);
    // Enter in a field: the field to move to, or nullopt to stay.
    std::optional<Field> enterPressed(Field f) const;

    // The names grid: column 0 plus one column per provider; row 0 the
    // column numbers, row 1 the names. Widths in twips, as the user drags them.
    ui::GridModel &grid() { return m_grid; }
    const ui::GridModel &grid() const { return m_grid; }
    int providers() const { return m_n; }
    void buildGrid(int n);

    // The one-line editor over a cell of the names grid.
    struct EditorOpening {
        bool open = false;   // Tab: no editor, the focus goes on to CmdOkay
        QChar pass;          // the key to hand on to the editor; null: dropped
    };
    EditorOpening gridKeyPress(QChar ch);
    // A key typed in the editor: what it puts there, nullopt when refused.
    std::optional<QChar> editorChar(QChar ch) const;
    // Every change of the editor's text goes into its cell at once; returns
    // the text kept.
    QString editorChanged(const QString &text);
    void closeEditor();   // Enter in the editor, or a click on the grid
    bool editorOpen() const { return m_editing; }
    int editRow() const { return m_editRow; }
    int editCol() const { return m_editCol; }
    QString editorText() const { return m_editText; }

    // CmdReset: the reset values; nothing is stored. Returns the field to focus.
    Field reset();

    // CmdOkay.
    struct OkayResult {
        enum Outcome {
            Closed,    // saved; the book or the template window follows
            Refused,   // closing time earlier than opening time
            Contested, // another station changed what this one was storing: nothing stored, the user told
            Invalid,   // a field still holds a value its rules refuse
            Failed,    // a database failure, shown; the window stays
            Unsettled, // the book holds an entry the user goes back to: nothing done
        };
        Outcome outcome = Failed;
        std::optional<Field> focus;
    };
    OkayResult okay();
    // The texts built by the last Okay.
    QString namesText() const { return m_namesText; }
    QString widthsText() const { return m_widthsText; }
    // What the last Okay wrote to the settings record.
    const store::Edit &lastEdit() const { return m_edit; }

    // The user closed the window: the main menu comes back.
    void closedByUser();

private:
    // Fields whose leave rule would send the focus back, and the silent
    // corrections of the others, without rebuilding the names grid.
    std::optional<Field> settleFields();
    store::Settings storedSettings();
    void setField(Field f, const QString &text);
    void fillTime(const QString &stored, Field hour, Field minutes, Field amPm);
    QString timeText(Field hour, Field minutes, Field amPm) const;
    void showError(int number, const QString &description);
    // The settings fields as the boxes (not the names grid) would store them now.
    QVariantMap fieldValues() const;
    QVariantMap gridValues() const;
    bool gridChanged() const;
    void contested(const store::SettingsStore::FieldsWrite &w, const QVariantMap &values);

    ui::Services &m_services;
    ui::FormModel m_form = form();
    ui::GridModel m_grid;
    int m_n = 0;
    double m_widthFactor = 1.0;
    store::Settings m_loaded;       // fallback when the record cannot be re-read
    // Each field as this station read it from the record, and as its box (or
    // the names grid) showed it then: Okay writes only the fields whose box
    // no longer shows that, each only over the value read.
    QVariantMap m_read;
    QVariantMap m_shown;
    store::Edit m_edit;
    bool m_editing = false;
    int m_editRow = 1;
    int m_editCol = 1;
    QString m_editText;
    QString m_namesText;
    QString m_widthsText;
};

} // namespace setup
