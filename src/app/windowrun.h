#pragma once

#include "batch/runinterfaces.h"

#include <functional>

class QWidget;

namespace Ui {
class TForm1;
}

namespace tessaly {

class MessageService;

// The job as the main window's controls hold it, read at the moment a run
// asks, so that a choice changed during a run reaches its later files.
class WindowJob final : public JobSource {
public:
    WindowJob(const Ui::TForm1& ui, const bool& thumbnailMode) : m_ui(ui), m_thumbnails(thumbnailMode) {}
    bool thumbnails() const override { return m_thumbnails; }
    bool renameOnly() const override;
    std::optional<NamingOption> naming() const override;
    QString thumbQualifier() const override;
    QString imageQualifier() const override;
    QString sequenceField() const override;
    std::optional<OutputType> outputType() const override;
    QString widthText() const override;
    QString heightText() const override;
    bool keepAspect() const override;
    bool forceWidth() const override;
    bool forceHeight() const override;
    ResizeSpeed resizeSpeed() const override;
    int jpegQuality() const override;
    bool overwrite() const override;
    QString inputFolder() const override;
    QString outputFolder() const override;
    bool autoOrient() const override;
    bool keepMetadata() const override;
    bool keepLocation() const override;

private:
    const Ui::TForm1& m_ui;
    const bool& m_thumbnails;
};

// The processing page as a run sees it.
class WindowRunView final : public RunView {
public:
    WindowRunView(Ui::TForm1& ui, MessageService& messages, QWidget* window, const std::function<void()>& betweenFiles)
        : m_ui(ui), m_messages(messages), m_window(window), m_betweenFiles(betweenFiles)
    {
    }
    void setCounter(int fileNumber, int fileCount) override;
    void setProgressMaximum(int maximum) override;
    void advanceProgress() override;
    void resetProgress() override;
    void processEvents() override;
    void report(const QString& text) override;
    void reportFailure(const QString& text, const RunFailure& failure) override;
    void refreshLists() override;

private:
    Ui::TForm1& m_ui;
    MessageService& m_messages;
    QWidget* m_window;
    const std::function<void()>& m_betweenFiles;
};

}  // namespace tessaly
