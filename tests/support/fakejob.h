#pragma once

#include "batch/runinterfaces.h"
#include "support/printers.h"

#include <functional>

namespace tessaly::testing {

// A job held in plain values, with the window's defaults.
struct FakeJob final : JobSource {
    bool thumbnailMode = true;
    bool renameOnlyChoice = true;
    int naming = 0;
    QString thumbQualifierText = QStringLiteral("Thumb");
    QString imageQualifierText = QStringLiteral("Image");
    QString sequence = QStringLiteral("001");
    QString convert = QStringLiteral("jpg");
    QString width = QStringLiteral("96");
    QString height = QStringLiteral("96");
    bool ratio = false, forceW = false, forceH = false;
    int speed = 1;
    int quality = 90;
    bool overwriteFiles = true;
    QString input, output;

    bool thumbnails() const override { return thumbnailMode; }
    bool renameOnly() const override { return renameOnlyChoice; }
    int namingIndex() const override { return naming; }
    QString thumbQualifier() const override { return thumbQualifierText; }
    QString imageQualifier() const override { return imageQualifierText; }
    QString sequenceField() const override { return sequence; }
    QString convertText() const override { return convert; }
    QString widthText() const override { return width; }
    QString heightText() const override { return height; }
    bool keepAspect() const override { return ratio; }
    bool forceWidth() const override { return forceW; }
    bool forceHeight() const override { return forceH; }
    int resizeSpeed() const override { return speed; }
    int jpegQuality() const override { return quality; }
    bool overwrite() const override { return overwriteFiles; }
    QString inputFolder() const override { return input; }
    QString outputFolder() const override { return output; }
};

// Records what a run showed; `betweenFiles` runs where the window would
// process its pending events (a test presses Cancel there).
struct RecordingView final : RunView {
    QStringList counters;
    QStringList reports;
    int maximum = -1;
    int progress = 0;
    int refreshes = 0;
    int resets = 0;
    std::function<void()> betweenFiles;

    void setCounter(const QString& text) override { counters << text; }
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
