#pragma once

#include <QWidget>

class QLabel;

namespace tessaly {

// The borderless start-up window: one 256 by 128 picture, centred on the
// screen. It never stands in front of a message box: when another window of
// the program appears while the splash is up, the splash steps aside.
class TfSplasher : public QWidget {
    Q_OBJECT
public:
    explicit TfSplasher(QWidget* parent = nullptr);
    ~TfSplasher() override;

    // The picture the splash shows.
    static QPixmap picture();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_image;
};

}  // namespace tessaly
