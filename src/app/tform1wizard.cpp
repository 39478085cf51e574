// The wizard's pages: moving between them, their checks and messages, the
// controls shown for each mode, and the confirmation summary.
#include "app/helptexts.h"
#include "app/tform1.h"
#include "app/tform3.h"
#include "ui_tform1.h"

namespace tessaly {

namespace {

const QColor kGrey(128, 128, 128);
const QColor kLime(0, 255, 0);
const QColor kGreen(0, 128, 0);

}  // namespace

void TForm1::connectWizard()
{
    Ui::TForm1& ui = *m_ui;
    connect(ui.bNxt1, &QPushButton::clicked, this, &TForm1::bNxt1Click);
    connect(ui.bBck1, &QPushButton::clicked, this, &TForm1::bBck1Click);
    connect(ui.bNxt2, &QPushButton::clicked, this, &TForm1::bNxt2Click);
    connect(ui.bBck2, &QPushButton::clicked, this, &TForm1::bBck2Click);
    connect(ui.bNxt3, &QPushButton::clicked, this, &TForm1::bNxt3Click);
    connect(ui.bBck3, &QPushButton::clicked, this, &TForm1::bBck3Click);
    connect(ui.bGO, &QPushButton::clicked, this, &TForm1::bGOClick);
    connect(ui.bCancelOp, &QPushButton::clicked, this, &TForm1::bCancelOpClick);
    connect(ui.bStartOver, &QPushButton::clicked, this, &TForm1::bStartOverClick);
    connect(ui.rbThumbs, &QRadioButton::toggled, this, &TForm1::rbThumbsClick);
    connect(ui.rbRenameOnly, &QRadioButton::toggled, this, &TForm1::rbRenameOnlyClick);
    connect(ui.cbMask, &QComboBox::currentTextChanged, this, &TForm1::cbMaskChange);
    connect(ui.bSelAll, &QPushButton::clicked, this, &TForm1::bSelAllClick);
    connect(ui.bDeSelAll, &QPushButton::clicked, this, &TForm1::bDeSelAllClick);
    connect(ui.bInvertSel, &QPushButton::clicked, this, &TForm1::bInvertSelClick);
    connect(ui.sbShowAll, &QToolButton::clicked, this, &TForm1::sbShowAllClick);
    connect(ui.sbShowGrafx, &QToolButton::clicked, this, &TForm1::sbShowGrafxClick);
    // `activated` comes from the user only, never from a program selection.
    connect(ui.cbNameOption, &QComboBox::activated, this, &TForm1::cbNameOptionChange);
    connect(ui.SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
    connect(ui.cbRatio, &QCheckBox::toggled, this, &TForm1::cbRatioClick);
    connect(ui.cbFWidth, &QCheckBox::toggled, this, &TForm1::cbFWidthClick);
    connect(ui.cbFHeight, &QCheckBox::toggled, this, &TForm1::cbFHeightClick);
    connect(ui.tbJpg, &QSlider::valueChanged, this, &TForm1::tbJpgChange);

    // Hover colours: lime over grey for every gradient button but GO, which
    // goes lime over green.
    for (GradientButton* button : {ui.bNxt1, ui.bNxt2, ui.bNxt3, ui.bBck1, ui.bBck2, ui.bBck3,
                                   ui.bCancelOp, ui.bStartOver, ui.bHTML}) {
        connect(button, &GradientButton::mouseEntered, button,
                [button] { button->setColors(kGrey, kLime); });
        connect(button, &GradientButton::mouseLeft, button,
                [button] { button->setColors(kGrey, kGrey); });
    }
    connect(ui.bGO, &GradientButton::mouseEntered, ui.bGO,
            [button = ui.bGO] { button->setColors(kGreen, kLime); });
    connect(ui.bGO, &GradientButton::mouseLeft, ui.bGO,
            [button = ui.bGO] { button->setColors(kGreen, kGreen); });
}

bool TForm1::renamingInPlace() const
{
    return m_mode == JobMode::RenameCopyConvert && m_ui->rbRenameOnly->isChecked();
}

void TForm1::applyVisibility(const ModeVisibility& shown)
{
    Ui::TForm1& ui = *m_ui;
    ui.rbRenameOnly->setVisible(shown.renameChoice);
    ui.rbCpyCvrt->setVisible(shown.renameChoice);
    ui.cbConvert->setVisible(shown.convertType);
    ui.Label7->setVisible(shown.convertType);
    ui.fNewDir->setVisible(shown.outputFolder);
    ui.fNewBox->setVisible(shown.outputFolder);
    ui.sbShowAll->setVisible(shown.maskButtons);
    ui.sbShowGrafx->setVisible(shown.maskButtons);
    ui.cbOverWrite->setVisible(shown.overwrite);
    ui.l6->setVisible(shown.sameFolderNote);
    ui.ePreT->setVisible(shown.thumbQualifier);
    ui.ePreI->setVisible(shown.imageQualifier);
    ui.lOutput->setText(shown.modeText);
}

void TForm1::showThumbnailSummaryRows(bool shown)
{
    Ui::TForm1& ui = *m_ui;
    for (QWidget* row : {static_cast<QWidget*>(ui.Label17), static_cast<QWidget*>(ui.Label18),
                         static_cast<QWidget*>(ui.Label20), static_cast<QWidget*>(ui.Label24),
                         static_cast<QWidget*>(ui.Bevel5), static_cast<QWidget*>(ui.Bevel8),
                         static_cast<QWidget*>(ui.lResize), static_cast<QWidget*>(ui.lWidth),
                         static_cast<QWidget*>(ui.lHeight), static_cast<QWidget*>(ui.lRatioTxt),
                         static_cast<QWidget*>(ui.lRatio)})
        row->setVisible(shown);
}

// Page 1.

void TForm1::rbThumbsClick()
{
    m_ui->lOutput->setText(m_ui->rbThumbs->isChecked() ? QStringLiteral("Create Thumbnails")
                                                       : QStringLiteral("Rename/Convert Files"));
}

void TForm1::cbMaskChange()
{
    m_ui->fBox->setMask(m_ui->cbMask->currentText());
}

void TForm1::bSelAllClick()
{
    for (int row = 0; row < m_ui->fBox->count(); ++row)
        m_ui->fBox->setItemSelected(row, true);
}

void TForm1::bDeSelAllClick()
{
    for (int row = 0; row < m_ui->fBox->count(); ++row)
        m_ui->fBox->setItemSelected(row, false);
}

void TForm1::bInvertSelClick()
{
    for (int row = 0; row < m_ui->fBox->count(); ++row)
        m_ui->fBox->setItemSelected(row, !m_ui->fBox->isItemSelected(row));
}

void TForm1::bNxt1Click()
{
    Ui::TForm1& ui = *m_ui;
    if (ui.fBox->selectedCount() == 0) {
        m_services.messages.report(this, QStringLiteral("No files selected!"));
        return;
    }
    fillSourceList();

    if (const auto clash = findDuplicateNames(m_sourceList); clash && m_windows.duplicateWarning) {
        TForm3& warning = *m_windows.duplicateWarning;
        warning.setNames(clash->first, clash->second);
        if (m_services.dialogs.run(warning) != QDialog::Accepted)
            return;
    }

    ui.l6->hide();
    const int naming = ui.cbNameOption->currentIndex();
    ui.eSeq->setVisible(naming != 1 && naming != 3);

    if (ui.rbThumbs->isChecked()) {
        m_mode = JobMode::Thumbnails;
        showThumbnailSummaryRows(true);
        applyVisibility(visibilityFor(m_mode, false));
    } else {
        m_mode = JobMode::RenameCopyConvert;
        showThumbnailSummaryRows(false);
        applyVisibility(visibilityFor(m_mode, ui.rbRenameOnly->isChecked()));
    }

    try {
        ui.fNewDir->setFolder(ui.fDir->folder());
    } catch (const FolderNotFound& missing) {
        showError(missing.message());
    }
    ui.lOutput->show();
    goToPage(ui.tsOFO, ui.lHH2);
}

// Page 2.

void TForm1::rbRenameOnlyClick()
{
    applyVisibility(visibilityFor(JobMode::RenameCopyConvert, m_ui->rbRenameOnly->isChecked()));
}

void TForm1::cbNameOptionChange()
{
    const int naming = m_ui->cbNameOption->currentIndex();
    const bool sequence = naming == 0 || naming == 2;
    m_ui->eSeq->setVisible(sequence);
    m_ui->Label4->setVisible(sequence);
}

void TForm1::sbShowAllClick()
{
    m_ui->fNewBox->setMask(QStringLiteral("*.*"));
}

void TForm1::sbShowGrafxClick()
{
    m_ui->fNewBox->setMask(texts::kGraphicsMask);
}

void TForm1::SpeedButton1Click()
{
    m_services.messages.report(this, m_ui->Label16->text());
}

void TForm1::bBck1Click()
{
    goToPage(m_ui->tsIFS, m_ui->lHH1);
    m_ui->lbMFL->clear();
    m_ui->lMFL->setText(QStringLiteral("Source Files: 0"));
}

void TForm1::bNxt2Click()
{
    Ui::TForm1& ui = *m_ui;
    if (!renamingInPlace() && ui.fDir->folder() == ui.fNewDir->folder()) {
        const MessageAnswer answer = m_services.messages.show(
            this,
            QStringLiteral("Input and Output Directories are the same. This could result in files "
                           "being overwritten or not processed.\r\rContinue?"),
            MessageIcon::Warning, MessageButtons::YesNo);
        if (answer == MessageAnswer::No)
            return;
    }
    if (m_mode == JobMode::Thumbnails) {
        goToPage(ui.tsTO, ui.lHH3);
        return;
    }
    const int naming = ui.cbNameOption->currentIndex();
    if (ui.rbRenameOnly->isChecked() && (naming == 1 || naming == 3) && ui.ePreI->text().isEmpty()) {
        m_services.messages.report(
            this, QStringLiteral("Invalid output qualifier for option chosen.  Please specify a "
                                 "qualifier, or choose a different naming option."));
        return;
    }
    goToPage(ui.tsCS, ui.lHH4);
}

// Page 3.

void TForm1::cbRatioClick()
{
    Ui::TForm1& ui = *m_ui;
    const bool kept = ui.cbRatio->isChecked();
    ui.lMax->setVisible(kept);
    ui.cbFWidth->setVisible(kept);
    ui.cbFHeight->setVisible(kept);
    ui.Label5->setVisible(!kept);
    ui.Label6->setVisible(!kept);
    ui.eHeight->setVisible(!kept);
}

void TForm1::cbFWidthClick()
{
    if (m_ui->cbFWidth->isChecked())
        m_ui->cbFHeight->setChecked(false);
}

void TForm1::cbFHeightClick()
{
    if (m_ui->cbFHeight->isChecked())
        m_ui->cbFWidth->setChecked(false);
}

void TForm1::bBck2Click()
{
    goToPage(m_ui->tsOFO, m_ui->lHH2);
}

void TForm1::bNxt3Click()
{
    goToPage(m_ui->tsCS, m_ui->lHH4);
}

// Page 4.

void TForm1::tbJpgChange()
{
    m_ui->lJpg->setText(QString::number(m_ui->tbJpg->value()));
}

void TForm1::bBck3Click()
{
    if (m_mode == JobMode::Thumbnails)
        goToPage(m_ui->tsTO, m_ui->lHH3);
    else
        goToPage(m_ui->tsOFO, m_ui->lHH2);
}

void TForm1::tsCSShow()
{
    Ui::TForm1& ui = *m_ui;
    ui.lInDir->setText(ui.fDir->folder());
    ui.lOtDir->setText(ui.fNewDir->folder());
    ui.lTypes->setText(ui.cbMask->currentText());
    ui.lConvert->setText(ui.cbConvert->currentText());
    const int naming = ui.cbNameOption->currentIndex();
    if (m_mode == JobMode::Thumbnails) {
        if (const auto sentence = outputNamesSentence(naming, ui.ePreT->text(), ui.eSeq->text()))
            ui.lFileNames->setText(*sentence);
        ui.lResize->setText(ui.rgResize->itemIndex() == 0 ? QStringLiteral("Fast")
                                                          : QStringLiteral("Quality"));
        ui.lRatio->setText(ui.eWidth->text());
        ui.lWidth->setText(ui.eWidth->text());
        ui.lHeight->setText(ui.eHeight->text());
        const bool kept = ui.cbRatio->isChecked();
        // The maximum follows the caption directly, whatever the font.
        ui.lRatio->move(ui.lRatioTxt->x() +
                            ui.lRatioTxt->fontMetrics().horizontalAdvance(ui.lRatioTxt->text()),
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
            ui.lConvert->setText(QStringLiteral("No Conversion"));
        }
        if (const auto sentence = outputNamesSentence(naming, ui.ePreI->text(), ui.eSeq->text()))
            ui.lFileNames->setText(*sentence);
    }
    const bool jpeg = ui.lConvert->text() == QLatin1String("jpg");
    ui.Label19->setVisible(jpeg);
    ui.tbJpg->setVisible(jpeg);
    ui.lJpg->setVisible(jpeg);
}

// Processing page.

void TForm1::bStartOverClick()
{
    Ui::TForm1& ui = *m_ui;
    goToPage(ui.tsIFS, ui.lHH1);
    m_sourceList.clear();
    ui.pBar->show();
    ui.pBar->setValue(0);
    ui.lDone->hide();
    ui.Bevel1->show();
    ui.Image1->show();
    ui.Label3->show();
    ui.bCancelOp->show();
    ui.bStartOver->hide();
    ui.bHTML->hide();
    ui.lDoHTM->hide();
    ui.lbMFL->clear();
    ui.lDir->show();
    ui.lbMFL->show();
    ui.lMFL->show();
    ui.lMFL->setText(QStringLiteral("Source Files: 0"));
    loadHelp(ui.lHH1);
}

}  // namespace tessaly
