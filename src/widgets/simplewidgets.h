#pragma once

#include <QLineEdit>
#include <QProgressBar>
#include <QSlider>

namespace tessaly {

// A one-line edit whose text stands at its right edge, for numbers.
class RightAlignedEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit RightAlignedEdit(QWidget* parent = nullptr);
};

// A horizontal slider from 10 to 100 in steps of 10 with a tick at each step.
class StepSlider : public QSlider {
    Q_OBJECT
public:
    explicit StepSlider(QWidget* parent = nullptr);
};

// A progress bar that shows its position as a percentage of its maximum.
class PercentProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit PercentProgressBar(QWidget* parent = nullptr);
};

}  // namespace tessaly
