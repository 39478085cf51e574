#pragma once

#include "batch/modes.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace tessaly {

// A 24-bit colour as the settings file stores it: red + 256 * green +
// 65536 * blue.
using StoredColor = std::int32_t;
constexpr StoredColor storedColor(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

// Every choice that shapes a gallery, with its default. Texts hold what the
// user typed, unchecked; the writers read the numeric ones when they need
// them. The choices are the items of their radio groups; none when the
// settings file stored a negative index (nothing selected).
struct GalleryOptions {
    // Linking
    bool LinkOriginal = true;
    std::optional<LinkMode> OriginalLinkOpt = LinkMode::Relative;
    QString OriginalLinkPrefix = QStringLiteral("images/");
    std::optional<LinkMode> ThumbLinkOpt = LinkMode::Relative;
    QString ThumbLinkPrefix = QStringLiteral("images/");
    bool LinkName = true;
    // Layout
    std::optional<WindowOption> WindowOpt = WindowOption::SameWindow;
    bool LinkBorder = true;
    QString LinkBorderSize = QStringLiteral("1");
    bool LinkStats = true;
    QString BannerString = QStringLiteral("Tessaly");
    int BannerHeadSize = 0;  // item index, -1 none
    bool TileBkgd = false;
    bool SampleText = false;
    QString ThmPerPage = QStringLiteral("25");
    bool MultiPg = true;
    NavButtons NavBtns = NavButtons::Both;
    bool UseNavBtns = true;
    bool UseFrames = false;
    // The responsive page with its picture viewer, in place of the table,
    // plain or frames layout; stored only once it has been turned on.
    bool Responsive = false;
    // Colors
    StoredColor PageBkgd = storedColor(255, 255, 255);
    StoredColor Text = storedColor(0, 0, 0);
    StoredColor BannerText = storedColor(0, 0, 0);
    StoredColor TableBkgd = storedColor(160, 160, 160);
    StoredColor CellBkgd = storedColor(255, 255, 255);
    // Tables
    QString Columns = QStringLiteral("5");
    QString BorderSize = QStringLiteral("1");
    QString TableWidth = QStringLiteral("0");
    QString CellPad = QStringLiteral("2");
    QString CellSpace = QStringLiteral("2");
    QString TableAlignment = QStringLiteral("Center");
    bool UseBkgdColor = true;
    QString TableCaption = QStringLiteral("Click thumbnail to see full size image");
    bool IncludeCaption = true;
    QString CaptionAlign = QStringLiteral("Top");
    QString CellHAlign = QStringLiteral("Center");
    QString CellVAlign = QStringLiteral("Middle");
    bool UseCellColor = false;
    bool UseTables = true;
};

}  // namespace tessaly
