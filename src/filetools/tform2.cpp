#include "filetools/tform2.h"

#include "ui_tform2.h"
#include "widgets/windowplacement.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace tessaly {

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TForm2>())
{
    m_ui->setupUi(this);
    setModal(false);
    m_ui->Image1->installEventFilter(this);
}

TForm2::~TForm2() = default;

void TForm2::showPicture(const QPixmap& picture, const QString& hint)
{
    m_ui->Image1->clear();
    m_ui->Image1->setPixmap(picture);
    m_ui->Image1->setToolTip(hint);
    m_ui->Image1->setAccessibleDescription(hint);
    m_ui->Image1->resize(picture.size());
    // A picture too large for the screen once moved the window's contents
    // into a scroll area at that picture's size: they follow the new picture.
    if (auto* contents = findChild<QWidget*>(QStringLiteral("fitToScreenContents"))) {
        contents->setMinimumSize(picture.size());
        contents->resize(picture.size());
        // The window's least size was the screen's room for that picture.
        setMinimumSize(0, 0);
    }
    resize(picture.size());
    QPoint corner(5, 5);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        corner += screen->geometry().topLeft();
    move(corner);
    // The window fitter runs when a window is shown: a preview already open
    // gets no new showing, so a larger picture is fitted here, with the
    // frame the window manager drew.
    if (isVisible())
        fitToScreen(*this, knownFrame(*this));
    show();
    raise();
    activateWindow();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    // A label has no click of its own: a left press and release on it is one.
    if (watched == m_ui->Image1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        m_ui->Image1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        Image1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TForm2::Image1Click()
{
    close();
}

}  // namespace tessaly
