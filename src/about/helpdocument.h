#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace tessaly {

// The help file's table of contents and index, read from the HTML itself:
// every <h1>, <h2> and <h3> that holds an <a name="..."> is a contents
// entry, and every <a name="..." class="index" title="term; term"> adds its
// terms to the index, pointing at that place.
struct HelpEntry {
    QString title;
    QString anchor;
    int level = 1;  // 1 to 3 for contents entries, 0 for index terms
};

struct HelpOutline {
    std::vector<HelpEntry> contents;
    std::vector<HelpEntry> index;  // sorted by term without regard to case
};

HelpOutline readHelpOutline(const QString& html);

// Where the help file may be, most likely first: beside the program (the
// build copies it there), in the installed documentation folder next to the
// program's prefix, then in the system's shared data folders.
QString helpFileName();
QStringList helpFileCandidates(const QString& programFolder);
// The first candidate that exists, or empty.
QString findHelpFile(const QStringList& candidates);

}  // namespace tessaly
