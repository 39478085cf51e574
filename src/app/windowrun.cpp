#include "app/windowrun.h"

#include "platform/filenames.h"
#include "platform/messages.h"
#include "ui_tform1.h"

#include <QApplication>

namespace tessaly {

bool WindowJob::renameOnly() const
{
    return m_ui.rbRenameOnly->isChecked();
}
std::optional<NamingOption> WindowJob::naming() const
{
    return namingOptionFromIndex(m_ui.cbNameOption->currentIndex());
}
QString WindowJob::thumbQualifier() const
{
    return m_ui.ePreT->text();
}
QString WindowJob::imageQualifier() const
{
    return m_ui.ePreI->text();
}
QString WindowJob::sequenceField() const
{
    return m_ui.eSeq->text();
}
// The text decides, not the index: the list can be typed into.
std::optional<OutputType> WindowJob::outputType() const
{
    return outputTypeFromText(m_ui.cbConvert->currentText());
}
QString WindowJob::widthText() const
{
    return m_ui.eWidth->text();
}
QString WindowJob::heightText() const
{
    return m_ui.eHeight->text();
}
bool WindowJob::keepAspect() const
{
    return m_ui.cbRatio->isChecked();
}
bool WindowJob::forceWidth() const
{
    return m_ui.cbFWidth->isChecked();
}
bool WindowJob::forceHeight() const
{
    return m_ui.cbFHeight->isChecked();
}
ResizeSpeed WindowJob::resizeSpeed() const
{
    return resizeSpeedFromIndex(m_ui.rgResize->itemIndex());
}
int WindowJob::jpegQuality() const
{
    return m_ui.tbJpg->value();
}
bool WindowJob::overwrite() const
{
    return m_ui.cbOverWrite->isChecked();
}
QString WindowJob::inputFolder() const
{
    return m_ui.fDir->folder();
}
QString WindowJob::outputFolder() const
{
    return m_ui.fNewDir->folder();
}
bool WindowJob::autoOrient() const
{
    return m_ui.cbUpright->isChecked();
}
bool WindowJob::keepMetadata() const
{
    return m_ui.cbKeepInfo->isChecked();
}
bool WindowJob::keepLocation() const
{
    return m_ui.cbKeepInfo->isChecked() && m_ui.cbKeepLocation->isChecked();
}

void WindowRunView::setCounter(int fileNumber, int fileCount)
{
    m_ui.lProc->setText(QStringLiteral("%1 of %2").arg(fileNumber).arg(fileCount));
}

void WindowRunView::setProgressMaximum(int maximum)
{
    m_ui.pBar->setMaximum(std::max(maximum, 1));
}

void WindowRunView::advanceProgress()
{
    m_ui.pBar->setValue(m_ui.pBar->value() + 1);
}

void WindowRunView::resetProgress()
{
    m_ui.pBar->setValue(0);
}

void WindowRunView::processEvents()
{
    QApplication::processEvents();
    if (m_betweenFiles)
        m_betweenFiles();
}

void WindowRunView::report(const QString& text)
{
    // A file name that is not UTF-8 is shown readably ("caf\xE9.jpg").
    m_messages.report(m_window, displayFileName(text));
}

void WindowRunView::reportFailure(const QString& text, const RunFailure& failure)
{
    // The details say what the command line says on its second line.
    const QString file = displayFileName(failure.file);
    m_messages.reportWithDetails(m_window, text,
                                 file.isEmpty() ? failure.reason : file + QStringLiteral(": ") + failure.reason);
}

void WindowRunView::refreshLists()
{
    m_ui.fBox->reread();
    m_ui.fNewBox->reread();
}

}  // namespace tessaly
