#pragma once

#include <QObject>
#include <QString>

namespace report {
class Reporter;
}
namespace ui {
struct Services;
}

namespace invoiceprint {

// What the letterhead and preprinted-paper windows' controllers share: how
// their records are read when the window loads, how the window goes, and
// the signals the window draws from.
class PrintSetupController : public QObject {
    Q_OBJECT
public:
    static inline const QString SaveTitle = QStringLiteral("Save GridData");

    // Binds the record sources and shows the record, the focus on its first
    // box. False after the message when the database cannot be read.
    bool load();
    // Finish (Exit) and the close box; false keeps the window open.
    virtual bool leave() = 0;

signals:
    void recordShown();
    void focusRequested(const QString &box);
    void busyChanged(bool on);

protected:
    // `firstBox` takes the focus once the window has loaded.
    PrintSetupController(ui::Services &services, report::Reporter &reporter, const QString &firstBox,
                         QObject *parent);
    // Binds the window's record sources; throws store::DbError.
    virtual void bindRecords() = 0;

    ui::Services &m_services;
    report::Reporter &m_reporter;

private:
    QString m_firstBox;
};

} // namespace invoiceprint
