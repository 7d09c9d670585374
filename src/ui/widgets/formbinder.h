#pragma once

#include "ui/core/formmodel.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace ui {

// Joins a window's controls to its form model by their objectNames: keys
// typed into a box pass its filter and case rule, Enter moves on (as Tab,
// or as the model says), the arrow keys follow the focus map, leaving a box
// applies its rule (a refused value takes the focus back), and the boxes
// show the model's texts.
class FormBinder : public QObject {
    Q_OBJECT
public:
    FormBinder(QWidget *form, FormModel &model, QObject *parent = nullptr);

    // Finds the model's controls under `form`; call once they all exist.
    void bind();
    QWidget *widget(const QString &name) const { return m_widgets.value(name); }
    QLineEdit *box(const QString &name) const;

    // Every box shows the model's text (those that differ are set).
    void showAll();
    void showText(const QString &name);
    void focus(const QString &name);
    // Read-only boxes while the model is locked.
    void applyLock();

    // Leaving a box: the window's own rule instead of the model's (for a
    // box whose leaving changes more than its text).
    void setLeaveHandler(std::function<LeaveResult(const QString &)> handler)
    {
        m_leave = std::move(handler);
    }
    // Enter on a control whose Enter presses it (a button is clicked
    // without one).
    void setPressHandler(std::function<void(const QString &)> handler) { m_press = std::move(handler); }
    // A control outside the model (a button of the window) on which Enter
    // moves on as Tab does, as it does on the form's boxes.
    void enterMovesOn(QWidget *w);
    // No leave rules while the window closes.
    void setClosing(bool on) { m_closing = on; }

signals:
    void edited(const QString &name);      // the user changed a box's text
    void focusEntered(const QString &name);
    void focusLeft(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool keyPress(const QString &name, QWidget *w, QKeyEvent *key);
    void left(const QString &name);
    void moveFocus(const QString &to);
    void tabFrom(QWidget *w);

    QWidget *m_form;
    FormModel &m_model;
    QHash<QString, QPointer<QWidget>> m_widgets;
    QHash<const QObject *, QString> m_names;
    std::function<LeaveResult(const QString &)> m_leave;
    std::function<void(const QString &)> m_press;
    QHash<QObject *, QPointer<QWidget>> m_movesOn;
    bool m_restoring = false;
    bool m_closing = false;
};

} // namespace ui
