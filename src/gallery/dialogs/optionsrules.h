#pragma once

#include "gallery/linkprefix.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace tessaly {

// The choices of the HTML Options dialog that other controls follow.
struct OptionsLayoutInputs {
    bool linkOriginal = true;                                       // cbHREF
    std::optional<LinkMode> originalLinkMode = LinkMode::Relative;  // rgHREF
    std::optional<LinkMode> thumbLinkMode = LinkMode::Relative;     // rgIMG
    bool border = true;                                             // cbBorder
    bool caption = true;                                            // cbCaption
    bool tableColor = true;                                         // cbTBColor
    bool cellColor = false;                                         // cbCBColor
    bool multiPage = true;                                          // rbMpg against rb1pg
    bool navigation = true;                                         // cbAddNav
    bool tables = true;                                             // cbUseTable
    bool frames = false;                                            // cbFrames
    bool tileImage = false;                                         // cbBkgd
    bool responsive = false;                                        // cbResponsive
};

struct ControlLook {
    bool visible = true;
    bool enabled = true;
    friend bool operator==(const ControlLook&, const ControlLook&) = default;
};

// Whether each dependent control is shown and enabled, by object name.
// The look follows from the choices alone, so the order in which the user
// changed them does not matter: the table controls show only with the
// table layout, the page controls and their help only while the table is
// not shown in frames, the navigation group only for several pages, and
// the tiling options only with frames. A prefix field hides in the generic
// mode, where it holds nothing. The responsive page greys what only shapes
// tables and frames, and shows the page controls, which it follows.
QMap<QString, ControlLook> dependentControlLooks(const OptionsLayoutInputs& inputs);

// The captions of the four link modes, in mode order (the items of the
// link option groups).
QStringList linkModeCaptions();

// "HTML Options - /home/ann/web/MyWeb.htm - 12 Files".
QString htmlOptionsCaption(const QString& htmlFolder, const QString& pageName, int fileCount);

}  // namespace tessaly
