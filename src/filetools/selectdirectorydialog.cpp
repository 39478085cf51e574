#include "filetools/selectdirectorydialog.h"

#include "filetools/foldercommands.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "ui_selectdirectorydialog.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>

namespace tessaly {

SelectDirectoryDialog::SelectDirectoryDialog(MessageService& messages, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::SelectDirectoryDialog>()), m_messages(messages)
{
    m_ui->setupUi(this);
    m_ui->buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("bOK"));
    m_ui->buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("bCancel"));
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &SelectDirectoryDialog::accept);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &SelectDirectoryDialog::reject);
    connect(m_ui->lbDirectories, &QListWidget::itemDoubleClicked, this, &SelectDirectoryDialog::openItem);
    m_ui->lbDirectories->installEventFilter(this);
}

bool SelectDirectoryDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the folder list opens the folder under the focus mark (and
    // does not press OK).
    if (watched == m_ui->lbDirectories && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openItem(m_ui->lbDirectories->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

SelectDirectoryDialog::~SelectDirectoryDialog() = default;

void SelectDirectoryDialog::setDirectory(const QString& folder)
{
    m_current = paths::normalFolder(QDir(folder).absolutePath());
    m_ui->eDirName->setText(m_current);
    m_ui->lCurrent->setText(m_current);
    m_ui->lbDirectories->clear();
    m_ui->lbFiles->clear();
    const QDir dir(m_current);
    if (!dir.isRoot())
        m_ui->lbDirectories->addItem(QStringLiteral(".."));
    const auto sortByName = QDir::Name | QDir::IgnoreCase | QDir::LocaleAware;
    m_ui->lbDirectories->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, sortByName));
    m_ui->lbFiles->addItems(dir.entryList(QDir::Files, sortByName));
}

QString SelectDirectoryDialog::directory() const
{
    const QString typed = m_ui->eDirName->text().trimmed();
    if (typed.isEmpty())
        return {};
    return paths::normalFolder(QDir::cleanPath(QDir(m_current).absoluteFilePath(typed)));
}

void SelectDirectoryDialog::accept()
{
    const QString chosen = directory();
    if (chosen.isEmpty() || !QFileInfo(chosen).isDir()) {
        if (m_messages.show(this, kFolderDoesNotExist, MessageIcon::Question, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
            return;
    }
    QDialog::accept();
}

void SelectDirectoryDialog::openItem(QListWidgetItem* item)
{
    if (!item)
        return;
    setDirectory(QDir::cleanPath(paths::join(m_current, item->text())));
}

}  // namespace tessaly
