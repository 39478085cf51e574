#include "batch/modes.h"

#include <array>

namespace tessaly {

namespace {

// An enum whose items are numbered 0 to count - 1.
template <typename Mode, int count>
std::optional<Mode> fromIndex(int index)
{
    if (index < 0 || index >= count)
        return std::nullopt;
    return static_cast<Mode>(index);
}

// The stored words and item texts, in item order.
const std::array<QString, 4> kNamingWords = {QStringLiteral("PreSeq"), QStringLiteral("PreName"),
                                             QStringLiteral("SufSeq"), QStringLiteral("SufName")};
const std::array<QString, 6> kOutputTexts = {QStringLiteral("jpg"), QStringLiteral("gif"),
                                             QStringLiteral("bmp"), QStringLiteral("emf"),
                                             QStringLiteral("wmf"), QStringLiteral("No Conversion")};

template <typename Mode, std::size_t count>
std::optional<Mode> fromWord(const std::array<QString, count>& words, const QString& word)
{
    for (std::size_t i = 0; i < count; ++i)
        if (words[i] == word)
            return static_cast<Mode>(i);
    return std::nullopt;
}

}  // namespace

std::optional<NamingOption> namingOptionFromIndex(int index)
{
    return fromIndex<NamingOption, 4>(index);
}
std::optional<NamingOption> namingOptionFromWord(const QString& word)
{
    return fromWord<NamingOption>(kNamingWords, word);
}
int indexOf(NamingOption option)
{
    return int(option);
}
QString wordOf(NamingOption option)
{
    return kNamingWords[std::size_t(option)];
}
bool usesSequence(NamingOption option)
{
    return option == NamingOption::PreSeq || option == NamingOption::SufSeq;
}

std::optional<OutputType> outputTypeFromIndex(int index)
{
    return fromIndex<OutputType, 6>(index);
}
std::optional<OutputType> outputTypeFromText(const QString& text)
{
    return fromWord<OutputType>(kOutputTexts, text);
}
int indexOf(OutputType type)
{
    return int(type);
}
QString textOf(OutputType type)
{
    return kOutputTexts[std::size_t(type)];
}

ResizeSpeed resizeSpeedFromIndex(int index)
{
    return index == 0 ? ResizeSpeed::Fast : ResizeSpeed::Quality;
}
ResizeSpeed resizeSpeedFromWord(const QString& word)
{
    return word == QLatin1String("Quality") ? ResizeSpeed::Quality : ResizeSpeed::Fast;
}
int indexOf(ResizeSpeed speed)
{
    return int(speed);
}
QString wordOf(ResizeSpeed speed)
{
    return speed == ResizeSpeed::Quality ? QStringLiteral("Quality") : QStringLiteral("Fast");
}

std::optional<NavButtons> navButtonsFromIndex(int index)
{
    return fromIndex<NavButtons, 3>(index);
}
int indexOf(NavButtons placement)
{
    return int(placement);
}
bool showsTop(NavButtons placement)
{
    return placement != NavButtons::Bottom;
}
bool showsBottom(NavButtons placement)
{
    return placement != NavButtons::Top;
}

std::optional<WindowOption> windowOptionFromIndex(int index)
{
    return fromIndex<WindowOption, 2>(index);
}
int indexOf(WindowOption option)
{
    return int(option);
}

std::optional<LinkMode> linkModeFromIndex(int index)
{
    return fromIndex<LinkMode, 4>(index);
}
int indexOf(LinkMode mode)
{
    return int(mode);
}

}  // namespace tessaly
