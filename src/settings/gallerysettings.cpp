#include "settings/gallerysettings.h"

#include <algorithm>

namespace tessaly {

namespace {

// The gallery options' keys, spelled as stored; the reader and the writer
// below visit them in the dialog's (different) load and save orders.
namespace gallerykeys {
const QString kLinking = QStringLiteral("Linking");
const QString kLayout = QStringLiteral("Layout");
const QString kColors = QStringLiteral("Colors");
const QString kTables = QStringLiteral("Tables");
const SettingsKey OriginalLinkOpt{kLinking, QStringLiteral("OriginalLinkOpt")};
const SettingsKey LinkOriginal{kLinking, QStringLiteral("LinkOriginal")};
const SettingsKey ThumbLinkOpt{kLinking, QStringLiteral("ThumbLinkOpt")};
const SettingsKey LinkName{kLinking, QStringLiteral("LinkName")};
const SettingsKey WindowOpt{kLayout, QStringLiteral("WindowOpt")};
const SettingsKey LinkBorderSize{kLayout, QStringLiteral("LinkBorderSize")};
const SettingsKey LinkBorder{kLayout, QStringLiteral("LinkBorder")};
const SettingsKey LinkStats{kLayout, QStringLiteral("LinkStats")};
const SettingsKey BannerString{kLayout, QStringLiteral("BannerString")};
const SettingsKey BannerHeadSize{kLayout, QStringLiteral("BannerHeadSize")};
const SettingsKey TileBkgd{kLayout, QStringLiteral("TileBkgd")};
const SettingsKey SampleText{kLayout, QStringLiteral("SampleText")};
const SettingsKey ThmPerPage{kLayout, QStringLiteral("ThmPerPage")};
const SettingsKey MultiPg{kLayout, QStringLiteral("MultiPg")};
const SettingsKey NavBtns{kLayout, QStringLiteral("NavBtns")};
const SettingsKey UseNavBtns{kLayout, QStringLiteral("UseNavBtns")};
const SettingsKey UseFrames{kLayout, QStringLiteral("UseFrames")};
const SettingsKey Responsive{kLayout, QStringLiteral("Responsive")};
const SettingsKey PageBkgd{kColors, QStringLiteral("PageBkgd")};
const SettingsKey Text{kColors, QStringLiteral("Text")};
const SettingsKey BannerText{kColors, QStringLiteral("BannerText")};
const SettingsKey TableBkgd{kColors, QStringLiteral("TableBkgd")};
const SettingsKey CellBkgd{kColors, QStringLiteral("CellBkgd")};
const SettingsKey Columns{kTables, QStringLiteral("Columns")};
const SettingsKey BorderSize{kTables, QStringLiteral("BorderSize")};
const SettingsKey TableWidth{kTables, QStringLiteral("TableWidth")};
const SettingsKey CellPad{kTables, QStringLiteral("CellPad")};
const SettingsKey CellSpace{kTables, QStringLiteral("CellSpace")};
const SettingsKey TableAlignment{kTables, QStringLiteral("TableAlignment")};
const SettingsKey UseBkgdColor{kTables, QStringLiteral("UseBkgdColor")};
const SettingsKey TableCaption{kTables, QStringLiteral("TableCaption")};
const SettingsKey IncludeCaption{kTables, QStringLiteral("IncludeCaption")};
const SettingsKey CaptionAlign{kTables, QStringLiteral("CaptionAlign")};
const SettingsKey CellHAlign{kTables, QStringLiteral("CellHAlign")};
const SettingsKey CellVAlign{kTables, QStringLiteral("CellVAlign")};
const SettingsKey UseCellColor{kTables, QStringLiteral("UseCellColor")};
const SettingsKey UseTables{kTables, QStringLiteral("UseTables")};
}  // namespace gallerykeys

// A radio group of `items` items: past the last means the last, below 0 none.
int clampChoice(int index, int items)
{
    if (index < 0)
        return -1;
    return std::min(index, items - 1);
}

template <typename Mode>
int choiceIndex(std::optional<Mode> choice)
{
    return choice ? indexOf(*choice) : -1;
}

struct Reader {
    const IniFile& file;
    bool onlyOne(const SettingsKey& key, bool fallback) const { return file.readInteger(key, fallback ? 1 : 0) == 1; }
    bool notZero(const SettingsKey& key, bool fallback) const { return file.readInteger(key, fallback ? 1 : 0) != 0; }
    int integer(const SettingsKey& key, int fallback) const { return file.readInteger(key, fallback); }
    QString text(const SettingsKey& key, const QString& fallback) const { return file.readString(key, fallback); }
};

struct Writer {
    const IniFile& file;
    void flag(const SettingsKey& key, bool on) const { file.writeInteger(key, on ? 1 : 0); }
    void integer(const SettingsKey& key, int value) const { file.writeInteger(key, value); }
    void text(const SettingsKey& key, const QString& value) const { file.writeString(key, value); }
};

}  // namespace

GalleryOptions readGalleryOptions(const IniFile& file, const GalleryOptions& current)
{
    using namespace gallerykeys;
    const GalleryOptions d;  // the defaults of the keys
    GalleryOptions o = current;
    const Reader r{file};
    o.OriginalLinkOpt = linkModeFromIndex(clampChoice(r.integer(OriginalLinkOpt, choiceIndex(d.OriginalLinkOpt)), 4));
    o.LinkOriginal = r.onlyOne(LinkOriginal, d.LinkOriginal);
    o.LinkName = r.onlyOne(LinkName, d.LinkName);
    o.ThumbLinkOpt = linkModeFromIndex(clampChoice(r.integer(ThumbLinkOpt, choiceIndex(d.ThumbLinkOpt)), 4));
    o.WindowOpt = windowOptionFromIndex(clampChoice(r.integer(WindowOpt, choiceIndex(d.WindowOpt)), 2));
    o.LinkBorderSize = r.text(LinkBorderSize, d.LinkBorderSize);
    o.LinkBorder = r.onlyOne(LinkBorder, d.LinkBorder);
    o.LinkStats = r.onlyOne(LinkStats, d.LinkStats);
    o.PageBkgd = r.integer(PageBkgd, d.PageBkgd);
    o.Text = r.integer(Text, d.Text);
    o.BannerText = r.integer(BannerText, d.BannerText);
    o.BannerString = r.text(BannerString, d.BannerString);
    o.BannerHeadSize = clampChoice(r.integer(BannerHeadSize, d.BannerHeadSize), 3);
    o.Columns = r.text(Columns, d.Columns);
    o.BorderSize = r.text(BorderSize, d.BorderSize);
    o.TableWidth = r.text(TableWidth, d.TableWidth);
    o.CellPad = r.text(CellPad, d.CellPad);
    o.CellSpace = r.text(CellSpace, d.CellSpace);
    o.TableAlignment = r.text(TableAlignment, d.TableAlignment);
    o.TableBkgd = r.integer(TableBkgd, d.TableBkgd);
    o.UseBkgdColor = r.onlyOne(UseBkgdColor, d.UseBkgdColor);
    o.TableCaption = r.text(TableCaption, d.TableCaption);
    o.IncludeCaption = r.onlyOne(IncludeCaption, d.IncludeCaption);
    o.CaptionAlign = r.text(CaptionAlign, d.CaptionAlign);
    o.CellHAlign = r.text(CellHAlign, d.CellHAlign);
    o.CellVAlign = r.text(CellVAlign, d.CellVAlign);
    o.CellBkgd = r.integer(CellBkgd, d.CellBkgd);
    o.UseCellColor = r.notZero(UseCellColor, d.UseCellColor);
    o.TileBkgd = r.notZero(TileBkgd, d.TileBkgd);
    o.SampleText = r.notZero(SampleText, d.SampleText);
    o.ThmPerPage = r.text(ThmPerPage, d.ThmPerPage);
    o.MultiPg = r.onlyOne(MultiPg, d.MultiPg);
    // Any value but 0, 1 and 2 leaves the buttons as they are.
    if (const auto nav = navButtonsFromIndex(r.integer(NavBtns, indexOf(d.NavBtns))))
        o.NavBtns = *nav;
    o.UseNavBtns = r.onlyOne(UseNavBtns, d.UseNavBtns);
    o.UseTables = r.onlyOne(UseTables, d.UseTables);
    o.UseFrames = r.notZero(UseFrames, d.UseFrames);
    o.Responsive = r.onlyOne(Responsive, d.Responsive);
    return o;
}

void writeGalleryOptions(const IniFile& file, const GalleryOptions& o)
{
    using namespace gallerykeys;
    const Writer w{file};
    w.integer(OriginalLinkOpt, choiceIndex(o.OriginalLinkOpt));
    w.flag(LinkOriginal, o.LinkOriginal);
    w.integer(ThumbLinkOpt, choiceIndex(o.ThumbLinkOpt));
    w.flag(LinkName, o.LinkName);
    w.integer(WindowOpt, choiceIndex(o.WindowOpt));
    w.text(LinkBorderSize, o.LinkBorderSize);
    w.flag(LinkBorder, o.LinkBorder);
    w.flag(LinkStats, o.LinkStats);
    w.integer(PageBkgd, o.PageBkgd);
    w.integer(Text, o.Text);
    w.integer(BannerText, o.BannerText);
    w.text(BannerString, o.BannerString);
    w.integer(BannerHeadSize, o.BannerHeadSize);
    w.text(Columns, o.Columns);
    w.text(BorderSize, o.BorderSize);
    w.text(TableWidth, o.TableWidth);
    w.text(CellPad, o.CellPad);
    w.text(CellSpace, o.CellSpace);
    w.text(TableAlignment, o.TableAlignment);
    w.integer(TableBkgd, o.TableBkgd);
    w.flag(UseBkgdColor, o.UseBkgdColor);
    w.text(TableCaption, o.TableCaption);
    w.flag(IncludeCaption, o.IncludeCaption);
    w.text(CaptionAlign, o.CaptionAlign);
    w.text(CellHAlign, o.CellHAlign);
    w.text(CellVAlign, o.CellVAlign);
    w.integer(CellBkgd, o.CellBkgd);
    w.flag(UseCellColor, o.UseCellColor);
    w.text(ThmPerPage, o.ThmPerPage);
    w.flag(MultiPg, o.MultiPg);
    w.integer(NavBtns, indexOf(o.NavBtns));
    w.flag(UseNavBtns, o.UseNavBtns);
    w.flag(UseTables, o.UseTables);
    w.flag(UseFrames, o.UseFrames);
    w.flag(TileBkgd, o.TileBkgd);
    w.flag(SampleText, o.SampleText);
    // Only once turned on (or stored before, to record turning it off), so
    // that a file written from nothing holds the same keys as always.
    if (o.Responsive || file.readInteger(Responsive, -1) != -1)
        w.flag(Responsive, o.Responsive);
}

}  // namespace tessaly
