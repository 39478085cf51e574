#include "widgets/simplewidgets.h"

namespace tessaly {

RightAlignedEdit::RightAlignedEdit(QWidget* parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

StepSlider::StepSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(10, 100);
    setSingleStep(10);
    setPageStep(10);
    setTickInterval(10);
    setTickPosition(QSlider::TicksBelow);
    setValue(90);
}

PercentProgressBar::PercentProgressBar(QWidget* parent) : QProgressBar(parent)
{
    setMinimum(0);
    setTextVisible(true);
    setFormat(QStringLiteral("%p%"));
}

}  // namespace tessaly
