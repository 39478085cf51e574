#pragma once

#include "batch/modes.h"
#include "batch/processedfiles.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tessaly {

// The job's choices, answered at the moment a run asks: the window answers
// from its controls (which the user may change while a run goes on), tests
// and the command line from plain values.
class JobSource {
public:
    virtual ~JobSource() = default;
    virtual bool thumbnails() const = 0;  // the mode chosen on page 1
    virtual bool renameOnly() const = 0;
    // None when the naming list holds typed text that is no option.
    virtual std::optional<NamingOption> naming() const = 0;
    virtual QString thumbQualifier() const = 0;
    virtual QString imageQualifier() const = 0;
    virtual QString sequenceField() const = 0;
    // None when the type list holds typed text that is no item.
    virtual std::optional<OutputType> outputType() const = 0;
    virtual QString widthText() const = 0;
    virtual QString heightText() const = 0;
    virtual bool keepAspect() const = 0;
    virtual bool forceWidth() const = 0;
    virtual bool forceHeight() const = 0;
    virtual ResizeSpeed resizeSpeed() const = 0;
    virtual int jpegQuality() const = 0;
    virtual bool overwrite() const = 0;
    virtual QString inputFolder() const = 0;
    virtual QString outputFolder() const = 0;
    // Whether photos are turned as their camera orientation says.
    virtual bool autoOrient() const = 0;
    // Whether JPEG pictures written from JPEG photos carry the photos'
    // information (date, camera, colour profile), and with it the place
    // they were taken. Off unless asked for.
    virtual bool keepMetadata() const { return false; }
    virtual bool keepLocation() const { return false; }
};

// What a run shows and asks of whoever drives it.
struct RunFailure;

class RunView {
public:
    virtual ~RunView() = default;
    // Before each file: its number (from 1) and the number of files; the
    // window shows "3 of 12".
    virtual void setCounter(int fileNumber, int fileCount) = 0;
    virtual void setProgressMaximum(int maximum) = 0;
    virtual void advanceProgress() = 0;
    virtual void resetProgress() = 0;
    // Lets the window handle what is pending (paint, the Cancel button).
    virtual void processEvents() = 0;
    virtual void report(const QString& text) = 0;  // a plain message box
    virtual void refreshLists() = 0;
    // The box that says a run stopped on an error: `text` as `report` shows
    // it, and the file and the reason for those who want to know.
    virtual void reportFailure(const QString& text, const RunFailure& failure);
};

// The state of the current or last run, kept until the next GO.
// An error that stopped a run or a file a run passed over: the file (its
// path; empty when a run failed before its first file) and what went wrong.
struct RunFailure {
    QString file;
    QString reason;
};

struct RunState {
    bool CancelRequested = false;
    int ProcessedCount = 0;
    int maxThumbSize = 0;
    ProcessedFileTable ProcessedFiles;
    // Renames the file system refused in the last run, in order.
    std::vector<RunFailure> RefusedRenames;
    // The source a run could not open, which stopped it, and why.
    std::optional<RunFailure> Unopened;
};

}  // namespace tessaly
