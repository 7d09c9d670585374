#pragma once

#include "book/pages/blockhost.h"
#include "book/pages/editorgrid.h"
#include "setup/core/templatestore.h"
#include "store/core/settings.h"
#include "ui/core/gridmodel.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

namespace book {
class BlockOps;
}

namespace ui {
class Clipboard;
struct Services;
}

namespace setup {

// Where the template window should put the keyboard focus.
enum class TemplateFocus { Grid, Editor, Status, Next };   // Next: the control after the grid

// The weekday template window (frmConfigure) without its widgets: the
// template grid built from the current settings, the weekday being edited,
// its working text and closed-day flag, the cell editor and the block
// commands. The templates are edited Monday first, Sunday last; each
// weekday's template and flag are stored when its step is finished.
class TemplateController : public QObject, public book::BlockHost, public book::EditorGrid {
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Configure Page Templates");
    static inline const QString InitialBlockout = QStringLiteral("- - - - - - - - - - - - - - - -");
    // The date the cycle starts on; only its weekday (Monday) matters.
    static inline const QDate FirstDay = QDate(2000, 7, 3);

    explicit TemplateController(ui::Services &services, QObject *parent = nullptr);
    ~TemplateController() override;

    // Form_Load: takes the width factor as the program-wide one and builds
    // the grid from the settings. False when the settings cannot be read
    // (the user has been told).
    bool load(double widthFactor);
    // The first activation: the instructions, then Monday's template.
    // Later activations change nothing, so coming back to the window never
    // throws away the weekday in hand.
    void activate();

    // ---- what the window shows
    ui::GridModel &grid() { return m_grid; }
    const ui::GridModel &grid() const { return m_grid; }
    QDate templateDate() const { return m_date; }
    QString dayCaption() const;       // lblCalDay
    QString finishCaption() const;    // CmdFinish
    bool closed() const { return m_closed; }           // Check1
    bool loading() const { return m_loading; }
    QStringList statusEntries() const;                  // Combo(0)
    int statusIndex() const { return m_closed ? 1 : 0; }
    QString workingText() const { return m_working; }   // TxtData
    QString blockoutBox() const { return m_blockout; }  // txtBlockout
    void setBlockoutBox(const QString &text) { m_blockout = text; }

    // ---- cell entry
    using Editor = book::CellEditor::State;
    void gridKeyPress(QChar ch);                 // Tab, Enter or a typed character
    void gridDoubleClick();
    void gridMouseDown(int button, int shift, int row, int col);
    void gridMouseUp(int button, int shift, int row, int col);
    void saveFromEditor();

    // ---- commands
    void statusChosen(int index);                // office-status box
    // CmdFinish / F7: stores the weekday and goes on to the next. False when
    // the store failed (the user has been told and the weekday stays).
    bool finishStep();
    // The user closes the window. Unstored changes of the weekday in hand
    // are offered for storing. False when the window is to stay open.
    bool closeByUser();
    // Changes to the weekday in hand that its step has not stored yet.
    bool hasUnstoredChanges() const;
    book::BlockOps &blocks() { return *m_blocks; }

    // BlockHost
    ui::GridModel &blockGrid() override { return m_grid; }
    book::CellList storeCells(const book::CellChanges &changes) override;
    book::CellList storeColors(const book::ColorChanges &) override { return {}; }
    void refreshPage() override {}
    void colorSaveFailed(const store::DbError &) override {}
    bool editorOpen() const override { return m_cell.visible(); }
    QString blockoutText() override { return m_blockout; }
    bool dayClosed() const override { return m_closed; }
    void focusGrid() override { emit focusRequested(TemplateFocus::Grid); }

signals:
    void editorChanged();        // shown, hidden, moved or its text changed
    void stateChanged();         // weekday, captions, office status
    void focusRequested(setup::TemplateFocus focus);
    void contextMenuRequested(int row, int col);

protected:
    book::CellEditor::Actions editorActions() override;
    int linesPerSlot() const override { return m_settings.rHeight; }
    book::BlockOps &markedCells() override { return *m_blocks; }

private:
    void showWeekday(const QDate &date);
    void showDay(const QDate &date);
    void fillGrid();
    void showStatus();
    void openEditor(QChar typed);
    void hideEditor();
    void commitEditor();
    bool checkUnsavedEntry() override;
    bool storeWeekday();
    void contested(const TemplateStore::Write &w);
    void leave(const QString &next);

    ui::Services &m_s;
    store::SettingsStore m_store;
    TemplateStore m_templates;
    store::Settings m_settings;
    ui::GridModel m_grid;
    QDate m_date = FirstDay;
    QString m_working;           // TxtData
    bool m_closed = false;       // Check1
    bool m_loading = false;
    bool m_activated = false;
    QString m_blockout = InitialBlockout;
    // The weekday as shown when it was taken from the settings: what the
    // step's write is guarded over, and what tells whether closing the window
    // would lose anything.
    QString m_shownText;
    bool m_shownClosed = false;
    std::unique_ptr<book::BlockOps> m_blocks;
};

} // namespace setup
