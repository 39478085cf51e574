#include "gallery/dialogs/optionsrules.h"

#include "platform/paths.h"

namespace tessaly {

QMap<QString, ControlLook> dependentControlLooks(const OptionsLayoutInputs& in)
{
    QMap<QString, ControlLook> looks;
    const auto shown = [&looks](std::initializer_list<const char*> names, bool visible) {
        for (const char* name : names)
            looks[QString::fromLatin1(name)].visible = visible;
    };
    const auto enabled = [&looks](std::initializer_list<const char*> names, bool on) {
        for (const char* name : names)
            looks[QString::fromLatin1(name)].enabled = on;
    };
    const bool pageLayout = in.responsive || (in.tables && !in.frames);

    shown({"rgHREF"}, in.linkOriginal);
    shown({"eHREF"}, in.linkOriginal && in.originalLinkMode != LinkMode::Generic);
    shown({"eIMG"}, in.thumbLinkMode != LinkMode::Generic);
    shown({"eBorder", "lBorder"}, in.border);
    shown({"eCaption", "lTCap", "cbCAlign", "lTCapAlign"}, in.caption);
    shown({"lBColor", "cpTBkgd"}, in.tableColor);
    shown({"lCColor", "cpCBkgd"}, in.cellColor);
    shown({"lTperPg", "eTperPg"}, in.multiPage);
    shown({"rbNavTop", "rbNavBot", "rbNavBoth"}, in.navigation);
    shown({"GroupBox3", "GroupBox4"}, in.tables);
    shown({"Label24", "gbPages"}, pageLayout);
    shown({"gbNavBtns", "lMHelp"}, pageLayout && in.multiPage);
    shown({"lFrameHelp", "cbBkgd", "cbTxt"}, in.frames);
    // The responsive page greys what only shapes tables and frames.
    enabled({"lTCols",   "lTBord",     "eTBord",    "lTWidth",   "eTWidth", "lTPercent", "lTPad",     "eTPad",
             "lTSpace",  "eTSpace",    "lTAlign",   "cbTBColor", "lBColor", "cpTBkgd",   "cbCaption", "lTCap",
             "eCaption", "lTCapAlign", "GroupBox4", "cbFrames",  "cbBkgd",  "lFrameHelp"},
            !in.responsive);
    // A frames gallery lays out its own column: the column count and the
    // caption placement stay visible but cannot be changed while frames are
    // on; so does the table alignment, which the frames page still uses.
    enabled({"cbUseTable", "eTCols", "cbTAlign", "cbCAlign"}, !in.frames && !in.responsive);
    enabled({"cbTxt"}, in.tileImage && !in.responsive);
    return looks;
}

QStringList linkModeCaptions()
{
    return {QStringLiteral("Refer to images on local hard drive (file:///C:\\)"),
            QStringLiteral("Explicit internet location (http://)"), QStringLiteral("Relative location (folder/)"),
            QStringLiteral("Generic location (same folder as html)")};
}

QString htmlOptionsCaption(const QString& htmlFolder, const QString& pageName, int fileCount)
{
    return QStringLiteral("HTML Options - ") + paths::join(htmlFolder, pageName) + QStringLiteral(" - ") +
           QString::number(fileCount) + QStringLiteral(" Files");
}

}  // namespace tessaly
