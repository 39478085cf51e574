#include "filetools/tform4.h"

#include "platform/messages.h"
#include "settings/mainsettings.h"
#include "ui_tform4.h"
#include "widgets/windowplacement.h"

#include <QStyle>

namespace tessaly {

TForm4::TForm4(MessageService& messages, IniFile settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TForm4>()),
      m_messages(messages),
      m_settings(std::move(settings))
{
    m_ui->setupUi(this);
    setFixedSize(size());
    centreOnScreen(*this);
    m_ui->Image1->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    m_ui->Image1->setIconSize(QSize(40, 40));
    // The picture button has no text: screen readers say its hint. The
    // answers come first in the tab order.
    m_ui->Image1->setAccessibleName(m_ui->Image1->toolTip());
    setTabOrder(m_ui->bYesDel, m_ui->BitBtn1);
    setTabOrder(m_ui->BitBtn1, m_ui->cbRecycle);
    setTabOrder(m_ui->cbRecycle, m_ui->Image1);
    // Enter answers Yes (the default button), Escape answers No.
    connect(m_ui->bYesDel, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->Image1, &QToolButton::clicked, this, &TForm4::Image1Click);
    FormCreate();
}

TForm4::~TForm4() = default;

void TForm4::FormCreate()
{
    m_ui->cbRecycle->setChecked(readRecycleBin(m_settings));
}

void TForm4::FormDestroy()
{
    try {
        writeRecycleBin(m_settings, m_ui->cbRecycle->isChecked());
    } catch (const SettingsWriteError& error) {
        m_messages.error(this, error.message());
    }
}

void TForm4::showEvent(QShowEvent* event)
{
    // Each question opens with the focus on Yes, wherever it was left.
    QDialog::showEvent(event);
    m_ui->bYesDel->setFocus(Qt::OtherFocusReason);
}

void TForm4::setQuestion(int fileCount)
{
    m_ui->lNumDel->setText(QStringLiteral("Confirm deletion of %1 files...").arg(fileCount));
}

bool TForm4::toTrash() const
{
    return m_ui->cbRecycle->isChecked();
}

void TForm4::Image1Click()
{
    m_messages.report(this, QStringLiteral("You can delete files immediately by unselecting the Recycle Bin "
                                           "option.  It's faster, but you will not be able to recover them."));
}

}  // namespace tessaly
