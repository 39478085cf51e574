#pragma once

#include "batch/processedfiles.h"

#include <QString>
#include <QStringList>

namespace tessaly {

// The job's choices, answered at the moment a run asks: the window answers
// from its controls (which the user may change while a run goes on), tests
// and the command line from plain values.
class JobSource {
public:
    virtual ~JobSource() = default;
    virtual bool thumbnails() const = 0;     // the mode chosen on page 1
    virtual bool renameOnly() const = 0;
    virtual int namingIndex() const = 0;     // index of the naming list
    virtual QString thumbQualifier() const = 0;
    virtual QString imageQualifier() const = 0;
    virtual QString sequenceField() const = 0;
    virtual QString convertText() const = 0;
    virtual QString widthText() const = 0;
    virtual QString heightText() const = 0;
    virtual bool keepAspect() const = 0;
    virtual bool forceWidth() const = 0;
    virtual bool forceHeight() const = 0;
    virtual int resizeSpeed() const = 0;     // 0 fast, otherwise quality
    virtual int jpegQuality() const = 0;
    virtual bool overwrite() const = 0;
    virtual QString inputFolder() const = 0;
    virtual QString outputFolder() const = 0;
};

// What a run shows and asks of whoever drives it.
class RunView {
public:
    virtual ~RunView() = default;
    virtual void setCounter(const QString& text) = 0;   // "3 of 12"
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void advanceProgress() = 0;
    virtual void resetProgress() = 0;
    // Lets the window handle what is pending (paint, the Cancel button).
    virtual void processEvents() = 0;
    virtual void report(const QString& text) = 0;        // a plain message box
    virtual void refreshLists() = 0;
};

// The state of the current or last run, kept until the next GO.
struct RunState {
    bool CancelRequested = false;
    int ProcessedCount = 0;
    int maxThumbSize = 0;
    ProcessedFileTable ProcessedFiles;
};

}  // namespace tessaly
