#pragma once

#include <QString>
#include <optional>

// The job's modes as types. The settings file, the controls and the command
// line hold them as words and numbers; these functions convert at those
// edges, so that the runs and the gallery never compare bare numbers.
// Every `...FromIndex`/`...FromWord` gives none for a value outside the
// mode's items; `indexOf` gives the control's item index, which is also the
// number the settings file stores for the gallery's choices.
namespace tessaly {

// How output names are made; the items of the naming list, stored as the
// words "PreSeq", "PreName", "SufSeq" and "SufName".
enum class NamingOption { PreSeq = 0, PreName = 1, SufSeq = 2, SufName = 3 };

std::optional<NamingOption> namingOptionFromIndex(int index);
std::optional<NamingOption> namingOptionFromWord(const QString& word);  // exact, with case
int indexOf(NamingOption option);
QString wordOf(NamingOption option);
// PreSeq and SufSeq number the files; the other two keep the source name.
bool usesSequence(NamingOption option);

// The items of the type list, stored as their texts "jpg" ... "wmf" and
// "No Conversion". NoConversion keeps each file's type: the copy run copies
// the file's bytes unchanged, the thumbnail and convert runs write each
// picture in its own type when that is one of the five. The list can be
// typed into, so its text may be none of these (and then no output type).
enum class OutputType { Jpg = 0, Gif = 1, Bmp = 2, Emf = 3, Wmf = 4, NoConversion = 5 };

std::optional<OutputType> outputTypeFromIndex(int index);
std::optional<OutputType> outputTypeFromText(const QString& text);  // exact, with case
int indexOf(OutputType type);
QString textOf(OutputType type);

// The two items of "Resize Speed", stored as the words "Fast" and "Quality".
enum class ResizeSpeed { Fast = 0, Quality = 1 };

// Item 0 is fast; any other index (also none) is quality, as the runs read it.
ResizeSpeed resizeSpeedFromIndex(int index);
// Exactly "Quality" is quality; any other word fast.
ResizeSpeed resizeSpeedFromWord(const QString& word);
int indexOf(ResizeSpeed speed);
QString wordOf(ResizeSpeed speed);

// Where a multi-page gallery puts its Prev/Next buttons; stored as 0, 1, 2.
enum class NavButtons { Top = 0, Bottom = 1, Both = 2 };

std::optional<NavButtons> navButtonsFromIndex(int index);
int indexOf(NavButtons placement);
bool showsTop(NavButtons placement);     // Top or Both
bool showsBottom(NavButtons placement);  // Bottom or Both

// Where a gallery link opens its picture; stored as 0 and 1.
enum class WindowOption { SameWindow = 0, NewWindow = 1 };

std::optional<WindowOption> windowOptionFromIndex(int index);
int indexOf(WindowOption option);

// How a gallery's links reach the pictures (the items of "HREF Options"
// and "IMG Options"); stored as 0 to 3.
enum class LinkMode { Local = 0, Explicit = 1, Relative = 2, Generic = 3 };

std::optional<LinkMode> linkModeFromIndex(int index);
int indexOf(LinkMode mode);

}  // namespace tessaly
