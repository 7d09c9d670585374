#include "book/widgets/deletedlist.h"

#include "book/core/pagehistory.h"
#include "book/widgets/keybinder.h"
#include "ui/widgets/controls.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace book {

DeletedList::DeletedList(PageHistory &history, std::vector<CellChange> deleted, QWidget *parent)
    : QDialog(parent), m_history(history), m_deleted(std::move(deleted))
{
    setObjectName(QStringLiteral("frmDeleted"));
    setWindowTitle(QStringLiteral("Deleted on this page"));
    auto *layout = new QVBoxLayout(this);
    auto *hint = new QLabel(m_deleted.empty() ? QStringLiteral("No booking was deleted from this page.")
                                              : QStringLiteral("Enter puts the chosen booking back into its cell, "
                                                               "if that cell is still empty."),
                            this);
    layout->addWidget(hint);
    m_list = ui::named(new QTreeWidget(this), QStringLiteral("lstDeleted"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("When"), QStringLiteral("Time"), QStringLiteral("Consultant"),
                             QStringLiteral("Booking"), QStringLiteral("Command"), QStringLiteral("Station"),
                             QStringLiteral("User")});
    const QLocale locale;
    for (const CellChange &c : m_deleted)
        m_list->addTopLevelItem(new QTreeWidgetItem(
            {locale.toString(c.entry.at, QStringLiteral("MM/dd/yyyy hh:mm AP")), c.time, c.consultant,
             c.before.value_or(QString()), c.entry.command, c.entry.station, c.entry.user}));
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!m_deleted.empty())
        m_list->setCurrentItem(m_list->topLevelItem(0));
    layout->addWidget(m_list);
    // Enter on the list puts the booking back, rather than closing the dialog.
    auto *keys = new KeyBinder(
        [this](KeyPlace, KeyAction action, const KeyPress &) {
            if (action == KeyAction::PutBack)
                putBack();
            return KeyOutcome{action == KeyAction::PutBack};
        },
        this);
    keys->bind(m_list, KeyPlace::DeletedList);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { putBack(); });
    resize(720, 320);
}

void DeletedList::putBack()
{
    const int i = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (i < 0 || i >= static_cast<int>(m_deleted.size()))
        return;
    accept();
    m_history.putBack(m_deleted[static_cast<size_t>(i)]);
}

} // namespace book
