#include "settings/gallerysettings.h"

#include <algorithm>

namespace tessaly {

namespace {

const QString kLinking = QStringLiteral("Linking");
const QString kLayout = QStringLiteral("Layout");
const QString kColors = QStringLiteral("Colors");
const QString kTables = QStringLiteral("Tables");

// A radio group of `items` items: past the last means the last, below 0 none.
int clampChoice(int index, int items)
{
    if (index < 0)
        return -1;
    return std::min(index, items - 1);
}

struct Reader {
    const IniFile& file;
    bool onlyOne(const QString& section, const char* key, bool fallback) const
    {
        return file.readInteger(section, QString::fromLatin1(key), fallback ? 1 : 0) == 1;
    }
    bool notZero(const QString& section, const char* key, bool fallback) const
    {
        return file.readInteger(section, QString::fromLatin1(key), fallback ? 1 : 0) != 0;
    }
    int integer(const QString& section, const char* key, int fallback) const
    {
        return file.readInteger(section, QString::fromLatin1(key), fallback);
    }
    QString text(const QString& section, const char* key, const QString& fallback) const
    {
        return file.readString(section, QString::fromLatin1(key), fallback);
    }
};

struct Writer {
    const IniFile& file;
    void flag(const QString& section, const char* key, bool on) const
    {
        file.writeInteger(section, QString::fromLatin1(key), on ? 1 : 0);
    }
    void integer(const QString& section, const char* key, int value) const
    {
        file.writeInteger(section, QString::fromLatin1(key), value);
    }
    void text(const QString& section, const char* key, const QString& value) const
    {
        file.writeString(section, QString::fromLatin1(key), value);
    }
};

}  // namespace

GalleryOptions readGalleryOptions(const IniFile& file, const GalleryOptions& current)
{
    const GalleryOptions d;  // the defaults of the keys
    GalleryOptions o = current;
    const Reader r{file};
    o.OriginalLinkOpt = clampChoice(r.integer(kLinking, "OriginalLinkOpt", d.OriginalLinkOpt), 4);
    o.LinkOriginal = r.onlyOne(kLinking, "LinkOriginal", d.LinkOriginal);
    o.LinkName = r.onlyOne(kLinking, "LinkName", d.LinkName);
    o.ThumbLinkOpt = clampChoice(r.integer(kLinking, "ThumbLinkOpt", d.ThumbLinkOpt), 4);
    o.WindowOpt = clampChoice(r.integer(kLayout, "WindowOpt", d.WindowOpt), 2);
    o.LinkBorderSize = r.text(kLayout, "LinkBorderSize", d.LinkBorderSize);
    o.LinkBorder = r.onlyOne(kLayout, "LinkBorder", d.LinkBorder);
    o.LinkStats = r.onlyOne(kLayout, "LinkStats", d.LinkStats);
    o.PageBkgd = r.integer(kColors, "PageBkgd", d.PageBkgd);
    o.Text = r.integer(kColors, "Text", d.Text);
    o.BannerText = r.integer(kColors, "BannerText", d.BannerText);
    o.BannerString = r.text(kLayout, "BannerString", d.BannerString);
    o.BannerHeadSize = clampChoice(r.integer(kLayout, "BannerHeadSize", d.BannerHeadSize), 3);
    o.Columns = r.text(kTables, "Columns", d.Columns);
    o.BorderSize = r.text(kTables, "BorderSize", d.BorderSize);
    o.TableWidth = r.text(kTables, "TableWidth", d.TableWidth);
    o.CellPad = r.text(kTables, "CellPad", d.CellPad);
    o.CellSpace = r.text(kTables, "CellSpace", d.CellSpace);
    o.TableAlignment = r.text(kTables, "TableAlignment", d.TableAlignment);
    o.TableBkgd = r.integer(kColors, "TableBkgd", d.TableBkgd);
    o.UseBkgdColor = r.onlyOne(kTables, "UseBkgdColor", d.UseBkgdColor);
    o.TableCaption = r.text(kTables, "TableCaption", d.TableCaption);
    o.IncludeCaption = r.onlyOne(kTables, "IncludeCaption", d.IncludeCaption);
    o.CaptionAlign = r.text(kTables, "CaptionAlign", d.CaptionAlign);
    o.CellHAlign = r.text(kTables, "CellHAlign", d.CellHAlign);
    o.CellVAlign = r.text(kTables, "CellVAlign", d.CellVAlign);
    o.CellBkgd = r.integer(kColors, "CellBkgd", d.CellBkgd);
    o.UseCellColor = r.notZero(kTables, "UseCellColor", d.UseCellColor);
    o.TileBkgd = r.notZero(kLayout, "TileBkgd", d.TileBkgd);
    o.SampleText = r.notZero(kLayout, "SampleText", d.SampleText);
    o.ThmPerPage = r.text(kLayout, "ThmPerPage", d.ThmPerPage);
    o.MultiPg = r.onlyOne(kLayout, "MultiPg", d.MultiPg);
    // Any value but 0, 1 and 2 leaves the buttons as they are.
    const int nav = r.integer(kLayout, "NavBtns", d.NavBtns);
    if (nav >= 0 && nav <= 2)
        o.NavBtns = nav;
    o.UseNavBtns = r.onlyOne(kLayout, "UseNavBtns", d.UseNavBtns);
    o.UseTables = r.onlyOne(kTables, "UseTables", d.UseTables);
    o.UseFrames = r.notZero(kLayout, "UseFrames", d.UseFrames);
    return o;
}

void writeGalleryOptions(const IniFile& file, const GalleryOptions& o)
{
    const Writer w{file};
    w.integer(kLinking, "OriginalLinkOpt", o.OriginalLinkOpt);
    w.flag(kLinking, "LinkOriginal", o.LinkOriginal);
    w.integer(kLinking, "ThumbLinkOpt", o.ThumbLinkOpt);
    w.flag(kLinking, "LinkName", o.LinkName);
    w.integer(kLayout, "WindowOpt", o.WindowOpt);
    w.text(kLayout, "LinkBorderSize", o.LinkBorderSize);
    w.flag(kLayout, "LinkBorder", o.LinkBorder);
    w.flag(kLayout, "LinkStats", o.LinkStats);
    w.integer(kColors, "PageBkgd", o.PageBkgd);
    w.integer(kColors, "Text", o.Text);
    w.integer(kColors, "BannerText", o.BannerText);
    w.text(kLayout, "BannerString", o.BannerString);
    w.integer(kLayout, "BannerHeadSize", o.BannerHeadSize);
    w.text(kTables, "Columns", o.Columns);
    w.text(kTables, "BorderSize", o.BorderSize);
    w.text(kTables, "TableWidth", o.TableWidth);
    w.text(kTables, "CellPad", o.CellPad);
    w.text(kTables, "CellSpace", o.CellSpace);
    w.text(kTables, "TableAlignment", o.TableAlignment);
    w.integer(kColors, "TableBkgd", o.TableBkgd);
    w.flag(kTables, "UseBkgdColor", o.UseBkgdColor);
    w.text(kTables, "TableCaption", o.TableCaption);
    w.flag(kTables, "IncludeCaption", o.IncludeCaption);
    w.text(kTables, "CaptionAlign", o.CaptionAlign);
    w.text(kTables, "CellHAlign", o.CellHAlign);
    w.text(kTables, "CellVAlign", o.CellVAlign);
    w.integer(kColors, "CellBkgd", o.CellBkgd);
    w.flag(kTables, "UseCellColor", o.UseCellColor);
    w.text(kLayout, "ThmPerPage", o.ThmPerPage);
    w.flag(kLayout, "MultiPg", o.MultiPg);
    w.integer(kLayout, "NavBtns", o.NavBtns >= 0 && o.NavBtns <= 2 ? o.NavBtns : 2);
    w.flag(kLayout, "UseNavBtns", o.UseNavBtns);
    w.flag(kTables, "UseTables", o.UseTables);
    w.flag(kLayout, "UseFrames", o.UseFrames);
    w.flag(kLayout, "TileBkgd", o.TileBkgd);
    w.flag(kLayout, "SampleText", o.SampleText);
}

}  // namespace tessaly
