#include "app/confirmpage.h"

#include "app/wizard.h"
#include "batch/jobchecks.h"
#include "ui_tform1.h"

namespace tessaly {

ConfirmPage::ConfirmPage(Wizard& wizard, QObject* parent) : QObject(parent), m_wizard(wizard), m_ui(wizard.form())
{
    Ui::TForm1& ui = m_ui;
    connect(ui.pcMain, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_ui.pcMain->widget(index) == m_ui.tsCS)
            tsCSShow();
    });
    connect(ui.tbJpg, &QSlider::valueChanged, this, &ConfirmPage::tbJpgChange);
    connect(ui.bBck3, &QPushButton::clicked, this, &ConfirmPage::bBck3Click);
    connect(ui.bGO, &QPushButton::clicked, this, &ConfirmPage::bGOClick);
    useWizardHoverColours(ui.bBck3);
    useGoHoverColours(ui.bGO);
}

void ConfirmPage::showThumbnailRows(bool shown)
{
    Ui::TForm1& ui = m_ui;
    for (QWidget* row :
         {static_cast<QWidget*>(ui.Label17), static_cast<QWidget*>(ui.Label18), static_cast<QWidget*>(ui.Label20),
          static_cast<QWidget*>(ui.Label24), static_cast<QWidget*>(ui.Bevel5), static_cast<QWidget*>(ui.Bevel8),
          static_cast<QWidget*>(ui.lResize), static_cast<QWidget*>(ui.lWidth), static_cast<QWidget*>(ui.lHeight),
          static_cast<QWidget*>(ui.lRatioTxt), static_cast<QWidget*>(ui.lRatio)})
        row->setVisible(shown);
}

void ConfirmPage::tsCSShow()
{
    Ui::TForm1& ui = m_ui;
    ui.lInDir->setText(ui.fDir->folder());
    ui.lOtDir->setText(ui.fNewDir->folder());
    ui.lTypes->setText(ui.cbMask->currentText());
    ui.lConvert->setText(ui.cbConvert->currentText());
    const std::optional<NamingOption> naming = namingOptionFromIndex(ui.cbNameOption->currentIndex());
    if (m_wizard.job().mode == JobMode::Thumbnails) {
        // A naming list whose text was typed over names no option and
        // leaves the sentence as it was.
        if (const auto sentence = outputNamesSentence(naming, ui.ePreT->text(), ui.eSeq->text()))
            ui.lFileNames->setText(*sentence);
        ui.lResize->setText(wordOf(resizeSpeedFromIndex(ui.rgResize->itemIndex())));
        ui.lRatio->setText(ui.eWidth->text());
        ui.lWidth->setText(ui.eWidth->text());
        ui.lHeight->setText(ui.eHeight->text());
        const bool kept = ui.cbRatio->isChecked();
        // The maximum follows the caption directly, whatever the font.
        ui.lRatio->move(ui.lRatioTxt->x() + ui.lRatioTxt->fontMetrics().horizontalAdvance(ui.lRatioTxt->text()),
                        ui.lRatio->y());
        ui.lRatioTxt->setVisible(kept);
        ui.lRatio->setVisible(kept);
        ui.Label18->setVisible(!kept);
        ui.Label20->setVisible(!kept);
        ui.lWidth->setVisible(!kept);
        ui.lHeight->setVisible(!kept);
    } else {
        if (ui.rbRenameOnly->isChecked()) {
            ui.lOtDir->setText(ui.lInDir->text());
            ui.lConvert->setText(textOf(OutputType::NoConversion));
        }
        if (const auto sentence = outputNamesSentence(naming, ui.ePreI->text(), ui.eSeq->text()))
            ui.lFileNames->setText(*sentence);
    }
    // The slider sets the quality of JPEG output only; the type is read
    // from the exact text, so a typed "JPG" hides it.
    const bool jpeg = outputTypeFromText(ui.lConvert->text()) == OutputType::Jpg;
    ui.Label19->setVisible(jpeg);
    ui.tbJpg->setVisible(jpeg);
    ui.lJpg->setVisible(jpeg);
}

void ConfirmPage::tbJpgChange()
{
    m_ui.lJpg->setText(QString::number(m_ui.tbJpg->value()));
}

void ConfirmPage::bBck3Click()
{
    // Rename, copy and convert skip the thumbnail page both ways.
    m_wizard.goToPage(m_wizard.job().mode == JobMode::Thumbnails ? WizardPage::ThumbnailOptions
                                                                 : WizardPage::OutputOptions);
}

void ConfirmPage::bGOClick()
{
    m_wizard.startRun();
}

}  // namespace tessaly
