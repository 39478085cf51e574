#pragma once

#include <QWidget>

class QLabel;

namespace tessaly {

// The borderless start-up window: one 256 by 128 picture, centred.
class TfSplasher : public QWidget {
    Q_OBJECT
public:
    explicit TfSplasher(QWidget* parent = nullptr);

    // The picture the splash shows.
    static QPixmap picture();

private:
    QLabel* m_image;
};

}  // namespace tessaly
