#pragma once

#include "batch/runinterfaces.h"
#include "support/printers.h"

#include <functional>
#include <utility>
#include <vector>

namespace tessaly::testing {

// A job held in plain values, with the window's defaults.
struct FakeJob final : JobSource {
    bool thumbnailMode = true;
    bool renameOnlyChoice = true;
    std::optional<NamingOption> namingOption = NamingOption::PreSeq;
    QString thumbQualifierText = QStringLiteral("Thumb");
    QString imageQualifierText = QStringLiteral("Image");
    QString sequence = QStringLiteral("001");
    std::optional<OutputType> type = OutputType::Jpg;
    QString width = QStringLiteral("96");
    QString height = QStringLiteral("96");
    bool ratio = false, forceW = false, forceH = false;
    ResizeSpeed speed = ResizeSpeed::Quality;
    int quality = 90;
    bool overwriteFiles = true;
    QString input, output;
    bool upright = true;

    bool thumbnails() const override { return thumbnailMode; }
    bool renameOnly() const override { return renameOnlyChoice; }
    std::optional<NamingOption> naming() const override { return namingOption; }
    QString thumbQualifier() const override { return thumbQualifierText; }
    QString imageQualifier() const override { return imageQualifierText; }
    QString sequenceField() const override { return sequence; }
    std::optional<OutputType> outputType() const override { return type; }
    QString widthText() const override { return width; }
    QString heightText() const override { return height; }
    bool keepAspect() const override { return ratio; }
    bool forceWidth() const override { return forceW; }
    bool forceHeight() const override { return forceH; }
    ResizeSpeed resizeSpeed() const override { return speed; }
    int jpegQuality() const override { return quality; }
    bool overwrite() const override { return overwriteFiles; }
    QString inputFolder() const override { return input; }
    QString outputFolder() const override { return output; }
    bool autoOrient() const override { return upright; }
};

// Records what a run showed; `betweenFiles` runs where the window would
// process its pending events (a test presses Cancel there).
struct RecordingView final : RunView {
    std::vector<std::pair<int, int>> counters;  // file number, file count
    QStringList reports;
    int maximum = -1;
    int progress = 0;
    int refreshes = 0;
    int resets = 0;
    std::function<void()> betweenFiles;

    void setCounter(int fileNumber, int fileCount) override { counters.emplace_back(fileNumber, fileCount); }
    void setProgressMaximum(int value) override { maximum = value; }
    void advanceProgress() override { ++progress; }
    void resetProgress() override
    {
        progress = 0;
        ++resets;
    }
    void processEvents() override
    {
        if (betweenFiles)
            betweenFiles();
    }
    void report(const QString& text) override { reports << text; }
    void refreshLists() override { ++refreshes; }
};

}  // namespace tessaly::testing
