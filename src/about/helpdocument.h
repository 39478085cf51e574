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

// The help document as the program looks for it: this name under the
// program's folder (the build copies it there) and under the installed
// documents folder (installlayout::helpFileCandidates gives both places).
inline const QString kHelpDocument = QStringLiteral("help/tessaly-help.html");

}  // namespace tessaly
