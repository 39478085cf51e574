#include "gallery/dialogs/optionsrules.h"

#include <functional>
#include <gtest/gtest.h>

namespace tessaly {

void PrintTo(const ControlLook& look, std::ostream* out)
{
    *out << (look.visible ? "shown" : "hidden") << (look.enabled ? ", enabled" : ", disabled");
}

namespace {

const ControlLook kShown{true, true};
const ControlLook kHidden{false, true};
const ControlLook kDisabled{true, false};
const ControlLook kHiddenDisabled{false, false};

struct RuleRow {
    const char* rule;
    std::function<void(OptionsLayoutInputs&)> change;
    std::vector<std::pair<const char*, ControlLook>> expected;
};

// Each row changes the default choices and names the controls that follow.
const RuleRow kRules[] = {
    {"links to originals on", [](auto&) {}, {{"eHREF", kShown}, {"rgHREF", kShown}}},
    {"links to originals off", [](auto& in) { in.linkOriginal = false; }, {{"eHREF", kHidden}, {"rgHREF", kHidden}}},
    {"generic mode hides the original prefix",
     [](auto& in) { in.originalLinkMode = LinkMode::Generic; },
     {{"eHREF", kHidden}, {"rgHREF", kShown}, {"eIMG", kShown}}},
    {"generic mode hides the thumbnail prefix",
     [](auto& in) { in.thumbLinkMode = LinkMode::Generic; },
     {{"eIMG", kHidden}, {"eHREF", kShown}}},
    {"local mode shows the prefix",
     [](auto& in) { in.originalLinkMode = in.thumbLinkMode = LinkMode::Local; },
     {{"eHREF", kShown}, {"eIMG", kShown}}},
    {"border off", [](auto& in) { in.border = false; }, {{"eBorder", kHidden}, {"lBorder", kHidden}}},
    {"caption off",
     [](auto& in) { in.caption = false; },
     {{"eCaption", kHidden}, {"lTCap", kHidden}, {"cbCAlign", kHidden}, {"lTCapAlign", kHidden}}},
    {"table colour off", [](auto& in) { in.tableColor = false; }, {{"lBColor", kHidden}, {"cpTBkgd", kHidden}}},
    {"cell colour off by default", [](auto&) {}, {{"lCColor", kHidden}, {"cpCBkgd", kHidden}}},
    {"cell colour on", [](auto& in) { in.cellColor = true; }, {{"lCColor", kShown}, {"cpCBkgd", kShown}}},
    {"one page",
     [](auto& in) { in.multiPage = false; },
     {{"lTperPg", kHidden}, {"eTperPg", kHidden}, {"gbNavBtns", kHidden}, {"lMHelp", kHidden}, {"gbPages", kShown}}},
    {"several pages",
     [](auto&) {},
     {{"lTperPg", kShown}, {"eTperPg", kShown}, {"gbNavBtns", kShown}, {"lMHelp", kShown}}},
    {"navigation buttons off",
     [](auto& in) { in.navigation = false; },
     {{"rbNavTop", kHidden}, {"rbNavBot", kHidden}, {"rbNavBoth", kHidden}}},
    {"table layout off",
     [](auto& in) { in.tables = false; },
     {{"GroupBox3", kHidden},
      {"GroupBox4", kHidden},
      {"Label24", kHidden},
      {"gbPages", kHidden},
      {"gbNavBtns", kHidden},
      {"lMHelp", kHidden},
      {"cbUseTable", kShown}}},
    {"table layout on",
     [](auto&) {},
     {{"GroupBox3", kShown}, {"GroupBox4", kShown}, {"Label24", kShown}, {"gbPages", kShown}}},
    {"frames off",
     [](auto&) {},
     {{"cbUseTable", kShown},
      {"lFrameHelp", kHidden},
      {"lMHelp", kShown},
      {"eTCols", kShown},
      {"cbTAlign", kShown},
      {"cbCAlign", kShown},
      {"gbPages", kShown},
      {"gbNavBtns", kShown},
      {"Label24", kShown},
      {"cbBkgd", kHidden},
      {"cbTxt", kHiddenDisabled}}},
    {"frames on",
     [](auto& in) { in.frames = true; },
     {{"cbUseTable", kDisabled},
      {"lFrameHelp", kShown},
      {"lMHelp", kHidden},
      {"eTCols", kDisabled},
      {"cbTAlign", kDisabled},
      {"cbCAlign", kDisabled},
      {"gbPages", kHidden},
      {"gbNavBtns", kHidden},
      {"Label24", kHidden},
      {"cbBkgd", kShown},
      {"cbTxt", kDisabled},
      {"GroupBox3", kShown}}},
    {"frames with a tiled picture",
     [](auto& in) { in.frames = in.tileImage = true; },
     {{"cbBkgd", kShown}, {"cbTxt", kShown}}},
    {"frames without a caption keep the alignment hidden",
     [](auto& in) {
         in.frames = true;
         in.caption = false;
     },
     {{"cbCAlign", kHiddenDisabled}}},
    {"one page in frames",
     [](auto& in) {
         in.frames = true;
         in.multiPage = false;
     },
     {{"gbNavBtns", kHidden}, {"lMHelp", kHidden}, {"lFrameHelp", kShown}}},
    {"responsive page greys the table and frames options",
     [](auto& in) { in.responsive = true; },
     {{"eTCols", kDisabled},
      {"eTBord", kDisabled},
      {"eTWidth", kDisabled},
      {"cbTAlign", kDisabled},
      {"cbCaption", kDisabled},
      {"cpTBkgd", kDisabled},
      {"GroupBox4", kDisabled},
      {"cbUseTable", kDisabled},
      {"cbFrames", kDisabled},
      {"gbPages", kShown},
      {"gbNavBtns", kShown},
      {"lMHelp", kShown}}},
    {"responsive page without the table still shows its pages",
     [](auto& in) {
         in.responsive = true;
         in.tables = false;
     },
     {{"GroupBox3", kHidden}, {"Label24", kShown}, {"gbPages", kShown}, {"gbNavBtns", kShown}}},
    {"responsive page over frames greys them and shows the pages",
     [](auto& in) { in.responsive = in.frames = in.tileImage = true; },
     {{"cbFrames", kDisabled},
      {"cbBkgd", kDisabled},
      {"cbTxt", kDisabled},
      {"lFrameHelp", kDisabled},
      {"gbPages", kShown},
      {"Label24", kShown}}},
};

TEST(OptionsRules, DependentControlsFollowTheirChoices)
{
    for (const RuleRow& row : kRules) {
        SCOPED_TRACE(row.rule);
        OptionsLayoutInputs inputs;
        row.change(inputs);
        const QMap<QString, ControlLook> looks = dependentControlLooks(inputs);
        for (const auto& [name, look] : row.expected) {
            ASSERT_TRUE(looks.contains(QString::fromLatin1(name))) << name;
            EXPECT_EQ(looks.value(QString::fromLatin1(name)), look) << name;
        }
    }
}

TEST(OptionsRules, CaptionNamesThePageAndTheFileCount)
{
    EXPECT_EQ(htmlOptionsCaption(QStringLiteral("/home/ann/web"), QStringLiteral("MyWeb.htm"), 12),
              QStringLiteral("HTML Options - /home/ann/web/MyWeb.htm - 12 Files"));
    EXPECT_EQ(htmlOptionsCaption(QStringLiteral("/"), QStringLiteral("a.htm"), 4),
              QStringLiteral("HTML Options - /a.htm - 4 Files"));
}

}  // namespace
}  // namespace tessaly
