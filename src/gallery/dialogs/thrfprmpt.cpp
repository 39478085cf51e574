#include "gallery/dialogs/thrfprmpt.h"

#include "gallery/dialogs/optionsrules.h"
#include "gallery/linkprefix.h"
#include "ui_thrfprmpt.h"

namespace tessaly {

THRFPrmpt::THRFPrmpt(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::THRFPrmpt>())
{
    m_ui->setupUi(this);
    m_ui->rgHREF->setItems(linkModeCaptions());
    connect(m_ui->bYes, &QPushButton::clicked, this, [this] { done(Yes); });
    connect(m_ui->bNo, &QPushButton::clicked, this, [this] { done(No); });
    connect(m_ui->bCan, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->rgHREF, &RadioGroup::itemIndexChanged, this, &THRFPrmpt::rgHREFClick);
    FormCreate();
    setFixedSize(sizeHint());
}

THRFPrmpt::~THRFPrmpt() = default;

void THRFPrmpt::FormCreate()
{
    m_explicitPrefix = QStringLiteral("http://");
    m_relativePrefix = QStringLiteral("images/");
}

void THRFPrmpt::prepare(const QString& prefix, int mode)
{
    m_ui->eHREF->setText(prefix);
    m_ui->rgHREF->setItemIndex(mode);
}

int THRFPrmpt::linkMode() const
{
    return m_ui->rgHREF->itemIndex();
}

void THRFPrmpt::rgHREFClick(int index)
{
    const std::optional<LinkMode> mode = linkModeFromIndex(index);
    m_ui->eHREF->setText(prefixForMode(mode, m_sourceFolder, m_explicitPrefix, m_relativePrefix));
    m_ui->eHREF->setVisible(mode != LinkMode::Generic);
}

}  // namespace tessaly
