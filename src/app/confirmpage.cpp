#include "app/confirmpage.h"

#include "app/newnamesdialog.h"
#include "app/windowrun.h"
#include "app/wizard.h"
#include "batch/dryrun.h"
#include "batch/jobchecks.h"
#include "platform/filenames.h"
#include "platform/services.h"
#include "ui_tform1.h"
#include "widgets/textfit.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QScopeGuard>

namespace tessaly {

ConfirmPage::ConfirmPage(Wizard& wizard, QObject* parent) : QObject(parent), m_wizard(wizard), m_ui(wizard.form())
{
    Ui::TForm1& ui = m_ui;
    ui.Label19->setBuddy(ui.tbJpg);
    connect(ui.pcMain, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_ui.pcMain->widget(index) == m_ui.tsCS)
            tsCSShow();
    });
    connect(ui.tbJpg, &QSlider::valueChanged, this, &ConfirmPage::tbJpgChange);
    connect(ui.bBck3, &QPushButton::clicked, this, &ConfirmPage::bBck3Click);
    connect(ui.bGO, &QPushButton::clicked, this, &ConfirmPage::bGOClick);
    connect(ui.bShowNames, &QPushButton::clicked, this, &ConfirmPage::bShowNamesClick);
    useWizardHoverColours(ui.bBck3);
    useGoHoverColours(ui.bGO);
}

QList<QWidget*> ConfirmPage::tabOrder() const
{
    const Ui::TForm1& ui = m_ui;
    return {ui.tbJpg, ui.bShowNames, ui.cbOverWrite, ui.bBck3, ui.bGO};
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
    // Folders too long for their row lose their middle (the whole path is
    // the tooltip): the ends are what the user checks.
    setElidedText(*ui.lInDir, displayFileName(ui.fDir->folder()), Qt::ElideMiddle);
    setElidedText(*ui.lOtDir, displayFileName(ui.fNewDir->folder()), Qt::ElideMiddle);
    ui.lTypes->setText(ui.cbMask->currentText());
    ui.lConvert->setText(ui.cbConvert->currentText());
    const std::optional<NamingOption> naming = namingOptionFromIndex(ui.cbNameOption->currentIndex());
    if (m_wizard.job().mode == JobMode::Thumbnails) {
        // A naming list whose text was typed over names no option and
        // leaves the sentence as it was.
        if (const auto sentence = outputNamesSentence(naming, ui.ePreT->text(), ui.eSeq->text()))
            setSentence(*sentence);
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
            setElidedText(*ui.lOtDir, displayFileName(ui.fDir->folder()), Qt::ElideMiddle);
            ui.lConvert->setText(textOf(OutputType::NoConversion));
        }
        if (const auto sentence = outputNamesSentence(naming, ui.ePreI->text(), ui.eSeq->text()))
            setSentence(*sentence);
    }
    fitSentence();
    // The slider sets the quality of JPEG output only; the type is read
    // from the exact text, so a typed "JPG" hides it.
    const bool jpeg = outputTypeFromText(ui.lConvert->text()) == OutputType::Jpg;
    ui.Label19->setVisible(jpeg);
    ui.tbJpg->setVisible(jpeg);
    ui.lJpg->setVisible(jpeg);
}

// The names sentence shows whole, in a smaller font when it must; a very
// long qualifier still cuts it, with the whole sentence as tooltip.
void ConfirmPage::setSentence(const QString& text)
{
    m_ui.lFileNames->setText(text);
    m_ui.lFileNames->setToolTip(QString());
}

void ConfirmPage::fitSentence()
{
    QLabel& sentence = *m_ui.lFileNames;
    const QString text = sentence.toolTip().isEmpty() ? sentence.text() : sentence.toolTip();
    sentence.setFont(QFont());
    shrinkFontToFit(sentence, {text}, sentence.contentsRect().width());
    setElidedText(sentence, text, Qt::ElideRight);
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

// The dry run reads the job from the controls as GO's run would, and reads
// each source's header to learn its size. A selection that takes longer
// than a second shows a progress bar whose Cancel closes it without names.
void ConfirmPage::bShowNamesClick()
{
    const JobState& job = m_wizard.job();
    const bool thumbnails = job.mode == JobMode::Thumbnails;
    const WindowJob source(m_ui, thumbnails);
    DryRunResult plan;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        QProgressDialog progress(m_wizard.dialogParent());
        progress.setObjectName(QStringLiteral("NamesProgress"));
        progress.setWindowTitle(QStringLiteral("New Names"));
        progress.setLabelText(QStringLiteral("Reading the pictures' sizes..."));
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), &progress);
        cancel->setObjectName(QStringLiteral("bCancelNames"));
        progress.setCancelButton(cancel);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(1000);
        progress.setRange(0, int(job.SourceList.size()));
        plan = planRun(source, job.SourceList, [&progress](int done, int) {
            progress.setValue(done);
            return !progress.wasCanceled();
        });
        progress.reset();
        if (plan.cancelled)
            return;
    }
    NewNamesDialog dialog(plan, int(job.SourceList.size()), m_wizard.dialogParent());
    m_wizard.services().dialogs.run(dialog);
}

}  // namespace tessaly
