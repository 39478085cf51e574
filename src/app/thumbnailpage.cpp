#include "app/thumbnailpage.h"

#include "app/helptexts.h"
#include "app/wizard.h"
#include "ui_tform1.h"

namespace tessaly {

ThumbnailPage::ThumbnailPage(Wizard& wizard, QObject* parent) : QObject(parent), m_wizard(wizard), m_ui(wizard.form())
{
    Ui::TForm1& ui = m_ui;
    ui.Label8->setText(texts::kResizeSpeedNote);
    ui.Label10->setText(texts::kAspectRatioNote);
    ui.rgResize->setItems({QStringLiteral("Fast Resize"), QStringLiteral("Quality Resize")});
    ui.rgResize->setItemIndex(1);
    // Fields without text of their own are named by the label beside them.
    ui.Label5->setBuddy(ui.eWidth);
    ui.Label6->setBuddy(ui.eHeight);
    ui.eWidth->setAccessibleName(QStringLiteral("Thumbnail width"));
    ui.eHeight->setAccessibleName(QStringLiteral("Thumbnail height"));

    connect(ui.cbRatio, &QCheckBox::toggled, this, &ThumbnailPage::cbRatioClick);
    connect(ui.cbFWidth, &QCheckBox::toggled, this, &ThumbnailPage::cbFWidthClick);
    connect(ui.cbFHeight, &QCheckBox::toggled, this, &ThumbnailPage::cbFHeightClick);
    // The location goes along only with the rest of the photo information.
    connect(ui.cbKeepInfo, &QCheckBox::toggled, ui.cbKeepLocation, &QWidget::setEnabled);
    connect(ui.bBck2, &QPushButton::clicked, this, &ThumbnailPage::bBck2Click);
    connect(ui.bNxt3, &QPushButton::clicked, this, &ThumbnailPage::bNxt3Click);
    useWizardHoverColours(ui.bBck2);
    useWizardHoverColours(ui.bNxt3);
}

QList<QWidget*> ThumbnailPage::tabOrder() const
{
    const Ui::TForm1& ui = m_ui;
    return {ui.rgResize->button(0), ui.rgResize->button(1), ui.eWidth,     ui.eHeight,        ui.cbRatio, ui.cbFWidth,
            ui.cbFHeight,           ui.cbUpright,           ui.cbKeepInfo, ui.cbKeepLocation, ui.bBck2,   ui.bNxt3};
}

void ThumbnailPage::cbRatioClick()
{
    Ui::TForm1& ui = m_ui;
    // With the ratio kept, the width field alone holds the maximum size.
    const bool kept = ui.cbRatio->isChecked();
    ui.lMax->setVisible(kept);
    ui.cbFWidth->setVisible(kept);
    ui.cbFHeight->setVisible(kept);
    ui.Label5->setVisible(!kept);
    ui.Label6->setVisible(!kept);
    ui.eHeight->setVisible(!kept);
}

void ThumbnailPage::cbFWidthClick()
{
    if (m_ui.cbFWidth->isChecked())
        m_ui.cbFHeight->setChecked(false);
}

void ThumbnailPage::cbFHeightClick()
{
    if (m_ui.cbFHeight->isChecked())
        m_ui.cbFWidth->setChecked(false);
}

void ThumbnailPage::bBck2Click()
{
    m_wizard.goToPage(WizardPage::OutputOptions);
}

void ThumbnailPage::bNxt3Click()
{
    m_wizard.goToPage(WizardPage::Confirm);
}

}  // namespace tessaly
