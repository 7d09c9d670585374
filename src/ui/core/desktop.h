#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// What the desktop lends the program: the clock, the clipboard and the
// programs documents open in. The controllers reach them through the
// services only, so tests stand in for all three.
namespace ui {

// Where the program asks the time: the controllers never read the system
// clock themselves, so a book left open past midnight can be tried.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// The system clipboard, in text form.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;
    virtual void clear() = 0;
};

// The desktop's programs: a document opened with the program the desktop
// associates with it (a text editor for .txt, a spreadsheet for .xls).
class Desktop {
public:
    virtual ~Desktop() = default;
    // False when no program could be started for it.
    virtual bool openDocument(const QString &path) = 0;
};

} // namespace ui
