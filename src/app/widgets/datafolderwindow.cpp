#include "app/widgets/datafolderwindow.h"
#include "ui/widgets/controls.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace app {

DataFolderWindow::DataFolderWindow(ui::Prompter &prompter, const QString &newFolder, QWidget *parent)
    : QDialog(parent), m_prompter(prompter), m_controller(prompter, newFolder)
{
    setObjectName(QStringLiteral("frmDataFolder"));
    setWindowTitle(DataFolderController::title());

    auto *question = new QLabel(DataFolderController::question(), this);
    QFont qf = question->font();
    qf.setBold(true);
    qf.setPointSizeF(qf.pointSizeF() * 1.15);
    question->setFont(qf);

    m_new = ui::named(new QRadioButton(QStringLiteral("In a &new folder on this computer"), this),
                      QStringLiteral("optNew"));
    auto *newPath = new QLabel(QDir::toNativeSeparators(m_controller.newFolder()), this);
    newPath->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_shared = ui::named(new QRadioButton(QStringLiteral("In a folder the practice &shares"), this),
                         QStringLiteral("optShared"));
    m_sharedFolder = ui::named(new QLineEdit(this), QStringLiteral("txtShared"));
    m_sharedFolder->setPlaceholderText(QStringLiteral("the shared folder, e.g. /mnt/practice"));
    m_browse = ui::named(new QPushButton(QStringLiteral("&Browse..."), this), QStringLiteral("cmdBrowse"));

    m_server = ui::named(new QRadioButton(QStringLiteral("In a database se&rver"), this), QStringLiteral("optServer"));
    m_serverSettings = ui::named(new QLineEdit(this), QStringLiteral("txtServer"));
    m_serverSettings->setPlaceholderText(QStringLiteral("host=server dbname=practice user=desk"));

    m_note = ui::named(new QLabel(this), QStringLiteral("lblNote"));
    m_note->setWordWrap(true);
    QPalette np = m_note->palette();
    np.setColor(QPalette::WindowText, QColor(0x5f, 0x6b, 0x75));
    m_note->setPalette(np);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->setColumnMinimumWidth(0, 22);
    grid->addWidget(m_new, 0, 0, 1, 3);
    grid->addWidget(newPath, 1, 1, 1, 2);
    grid->addWidget(m_shared, 2, 0, 1, 3);
    grid->addWidget(m_sharedFolder, 3, 1);
    grid->addWidget(m_browse, 3, 2);
    grid->addWidget(m_server, 4, 0, 1, 3);
    grid->addWidget(m_serverSettings, 5, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &DataFolderWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &DataFolderWindow::reject);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(18, 16, 18, 16);
    box->setSpacing(12);
    box->addWidget(question);
    box->addLayout(grid);
    box->addWidget(m_note);
    box->addStretch(1);
    box->addWidget(buttons);

    m_new->setChecked(true);
    for (QRadioButton *b : {m_new, m_shared, m_server})
        connect(b, &QRadioButton::toggled, this, &DataFolderWindow::update);
    connect(m_sharedFolder, &QLineEdit::textChanged, this, [this] {
        m_shared->setChecked(true);
        update();
    });
    connect(m_serverSettings, &QLineEdit::textChanged, this, [this] {
        m_server->setChecked(true);
        update();
    });
    connect(m_browse, &QPushButton::clicked, this, &DataFolderWindow::browse);
    setMinimumWidth(520);
    update();
}

void DataFolderWindow::update()
{
    using K = DataFolderController::Kind;
    m_controller.setKind(m_shared->isChecked() ? K::Shared : m_server->isChecked() ? K::Server : K::NewFolder);
    m_controller.setSharedFolder(m_sharedFolder->text());
    m_controller.setServerSettings(m_serverSettings->text());
    m_note->setText(m_controller.note());
}

void DataFolderWindow::browse()
{
    const auto folder = m_prompter.chooseFolder(QStringLiteral("The practice's shared folder"), m_sharedFolder->text());
    if (folder)
        m_sharedFolder->setText(QDir::toNativeSeparators(*folder));
}

void DataFolderWindow::accept()
{
    update();
    m_chosen = m_controller.accept();
    if (m_chosen)
        QDialog::accept();
}

std::optional<QString> DataFolderWindow::ask(ui::Prompter &prompter, QWidget *parent)
{
    DataFolderWindow w(prompter, ui::Places::userDataFolder(), parent);
    return w.exec() == QDialog::Accepted ? w.chosen() : std::nullopt;
}

} // namespace app
