#include "about/tfabout.h"

#include "about/aboutpictures.h"
#include "about/helpdocument.h"
#include "platform/installlayout.h"
#include "ui_tfabout.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace tessaly {

QStringList aboutLines()
{
    return {QStringLiteral("Tessaly V 1.6"),
            QString(),
            QStringLiteral("December 2002"),
            QString(),
            QStringLiteral("Tessaly is free of charge."),
            QStringLiteral("You may copy it and pass it on to anyone, as long as you pass it on whole "
                           "and unchanged and ask nothing for it."),
            QString(),
            QStringLiteral("It comes with no warranty of any kind: keep copies of the pictures you care "
                           "about, and use it at your own risk.")};
}

QString projectHomepage()
{
    const QString configured = QStringLiteral(TESSALY_HOMEPAGE);
    if (!configured.isEmpty())
        return configured;
    // Without a web page of its own the program names the page it ships:
    // its help document, which the browser opens from the link.
    const QString help = installlayout::findHelpFile(kHelpDocument);
    return help.isEmpty() ? QString() : QUrl::fromLocalFile(QFileInfo(help).absoluteFilePath()).toString();
}

TfAbout::TfAbout(ShellService& shell, const QString& homepage, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      m_ui(std::make_unique<Ui::TfAbout>()),
      m_shell(shell),
      m_homepage(homepage),
      m_pause(new QTimer(this))
{
    m_ui->setupUi(this);
    setFixedSize(361, 222);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_ui->SP->setLines(aboutLines());
    m_ui->FadePicture->setPictures(fadeFirstPicture(), fadeSecondPicture());

    QFont times(QStringLiteral("Times New Roman"));
    times.setStyleHint(QFont::Serif);
    times.setPixelSize(32);
    times.setBold(true);
    m_ui->dxfLabel1->setFont(times);
    m_ui->dxfLabel1->setDepth(3);
    m_ui->dxfLabel1->setShadowColor(QColor(128, 128, 128));

    // A long address (the help document's, when the program has no web
    // page) gives up its middle rather than its end to the box's width.
    LinkLabel& link = *m_ui->URLLabel1;
    link.setText(link.fontMetrics().elidedText(m_homepage, Qt::ElideMiddle, link.width()));
    m_ui->URLLabel1->setAccessibleName(m_homepage);
    m_ui->URLLabel1->setToolTip(tr("Open this page in the web browser"));
    m_ui->URLLabel1->setVisible(!m_homepage.isEmpty());
    m_ui->BitBtn1->setFocus();

    m_pause->setSingleShot(true);
    setTiming(AboutTiming());

    connect(m_ui->FadePicture, &FadePicture::fadeFinished, this, &TfAbout::FadeFinished);
    connect(m_pause, &QTimer::timeout, this, &TfAbout::FadeWaitEnded);
    connect(m_ui->SP, &ScrollingTextPanel::playStopped, this, &TfAbout::SPStopPlay);
    connect(m_ui->URLLabel1, &LinkLabel::activated, this, &TfAbout::URLLabel1Click);
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

TfAbout::~TfAbout() = default;

void TfAbout::setTiming(const AboutTiming& timing)
{
    m_ui->FadePicture->setFrameInterval(timing.frameInterval);
    m_ui->FadePicture->setBlendRate(timing.blendRate);
    m_pause->setInterval(timing.pauseAfterFade);
    m_ui->SP->setStepInterval(timing.scrollInterval);
}

void TfAbout::FadeFinished()
{
    m_pause->start();
}

void TfAbout::FadeWaitEnded()
{
    m_ui->FadePicture->hide();
    m_ui->SP->play();
}

void TfAbout::SPStopPlay()
{
    m_ui->FadePicture->rewind();
    m_ui->FadePicture->show();
}

void TfAbout::URLLabel1Click()
{
    // Like the desktop's own links: whether the browser started is not examined.
    m_shell.openUrl(m_homepage);
}

void TfAbout::hideEvent(QHideEvent* event)
{
    // Whatever stage the cycle was in, the next showing starts at the picture.
    m_pause->stop();
    m_ui->SP->stop();
    m_ui->FadePicture->rewind();
    m_ui->FadePicture->show();
    QDialog::hideEvent(event);
}

}  // namespace tessaly
