#pragma once

#include <QString>
#include <QStringList>

namespace tessaly {

class TForm1;

// The pictures or folder named on the command line (a desktop's "Open
// With"): the main window starts in that folder with those files selected.
struct StartSelection {
    QString folder;        // empty: start as usual, in the saved folder
    QStringList names;     // files of `folder` to select
    QStringList problems;  // one line per argument that was left out
};

// Reads the arguments that Qt left (without the program name). The first
// existing file or folder gives the folder; further files count when they
// lie in that folder.
StartSelection startSelectionFromArguments(const QStringList& arguments);

// Moves the input folder tree to the selection's folder and selects its
// files in the file list; nothing when the selection names no folder.
void applyStartSelection(TForm1& window, const StartSelection& selection);

}  // namespace tessaly
