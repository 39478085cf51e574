#include "about/fadepicture.h"
#include "about/linklabel.h"
#include "about/scrollingtextpanel.h"
#include "about/tfabout.h"
#include "support/fakeservices.h"
#include "ui_tfabout.h"

#include <QEnterEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// Serves events until `done` holds, for at most five seconds.
template <class Predicate>
bool waitUntil(Predicate done)
{
    return QTest::qWaitFor(done, 5000);
}

// The cycle at test speed: every step as short as the timers allow.
AboutTiming quick()
{
    AboutTiming timing;
    timing.frameInterval = 1;
    timing.blendRate = 5;
    timing.pauseAfterFade = 1;
    timing.scrollInterval = 0;
    return timing;
}

void pointAt(QWidget* widget)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(widget, &enter);
}

struct AboutBox {
    testing::FakeShell shell;
    TfAbout box;
    Ui::TfAbout ui;

    explicit AboutBox(const QString& homepage = QString()) : box(shell, homepage)
    {
        box.setTiming(quick());
        box.show();
    }
    FadePicture* picture() const { return box.findChild<FadePicture*>(QStringLiteral("FadePicture")); }
    ScrollingTextPanel* panel() const { return box.findChild<ScrollingTextPanel*>(QStringLiteral("SP")); }
};

// The box has the caption, size and texts of the About box.
TEST(TfAbout, ShowsTheVersionTheDateAndTheNotice)
{
    AboutBox about;
    EXPECT_EQ(about.box.windowTitle(), QStringLiteral("About Tessaly"));
    EXPECT_EQ(about.box.size(), QSize(361, 222));
    const QStringList lines = about.panel()->lines();
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines.mid(0, 4),
              (QStringList{QStringLiteral("Tessaly V 1.6"), QString(), QStringLiteral("December 2002"), QString()}));
    EXPECT_TRUE(lines.join(u' ').contains(QStringLiteral("warranty")));

    auto* label = about.box.findChild<QLabel*>(QStringLiteral("dxfLabel1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Tessaly V1.6"));
    EXPECT_EQ(label->font().pixelSize(), 32);
    EXPECT_TRUE(label->font().bold());
    // The label's text, with its 3-pixel extrusion, fits its box in the
    // font the desktop actually has.
    const QRect needed = QFontMetrics(label->font()).boundingRect(label->text()).adjusted(0, 0, 3, 3);
    EXPECT_LE(needed.width(), label->width());
    EXPECT_LE(needed.height(), label->height());

    auto* ok = about.box.findChild<QPushButton*>(QStringLiteral("BitBtn1"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(about.picture()->size(), QSize(160, 102));
    EXPECT_EQ(about.picture()->parentWidget(), about.panel());
}

// The fade's frames are blended on another thread and arrive on the window's
// thread; the last one is the second picture.
TEST(TfAbout, FadeBlendsOffTheWindowThreadAndEndsOnTheSecondPicture)
{
    FadePicture picture;
    QImage first(160, 102, QImage::Format_RGB32), second(160, 102, QImage::Format_RGB32);
    first.fill(QColor(255, 0, 0));
    second.fill(QColor(0, 0, 255));
    picture.setPictures(first, second);
    picture.setFrameInterval(1);
    picture.setBlendRate(4);
    EXPECT_EQ(picture.currentFrame().pixelColor(80, 50), QColor(255, 0, 0));

    QThread* blendingThread = nullptr;
    QThread* ownThread = nullptr;
    QObject::connect(&picture, &FadePicture::fadeFinished, &picture, [&] { ownThread = QThread::currentThread(); });
    blendingThread = picture.findChild<QThread*>(QStringLiteral("FadeBlender"));
    ASSERT_NE(blendingThread, nullptr);
    EXPECT_NE(blendingThread, QThread::currentThread());

    QSignalSpy finished(&picture, &FadePicture::fadeFinished);
    pointAt(&picture);
    EXPECT_EQ(picture.state(), FadePicture::State::Fading);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(ownThread, QThread::currentThread());
    EXPECT_EQ(picture.frameShown(), 4);
    EXPECT_EQ(picture.currentFrame().pixelColor(80, 50), QColor(0, 0, 255));
    EXPECT_EQ(picture.state(), FadePicture::State::Done);

    // Pointing at a finished fade does nothing until it is rewound.
    pointAt(&picture);
    EXPECT_EQ(picture.state(), FadePicture::State::Done);
}

// A frame half-way through is an even mix, and pictures are centred at
// their own size rather than stretched.
TEST(TfAbout, BlendFrameMixesAndCentresWithoutStretching)
{
    QImage first(10, 10, QImage::Format_RGB32), second(4, 4, QImage::Format_RGB32);
    first.fill(QColor(0, 0, 0));
    second.fill(QColor(200, 200, 200));
    const QImage half = blendFrame(first, second, QSize(20, 20), 1, 2);
    EXPECT_EQ(half.size(), QSize(20, 20));
    EXPECT_EQ(half.pixelColor(0, 0), QColor(255, 255, 255));  // outside both pictures
    EXPECT_EQ(half.pixelColor(6, 6), QColor(0, 0, 0));        // first picture only
    const QColor mixed = half.pixelColor(9, 9);               // under both
    EXPECT_NEAR(mixed.red(), 100, 2);
}

// Pointing at the picture runs the whole cycle: fade, pause, the text
// scrolling through with the picture hidden, then the picture back and
// ready for the next fade.
TEST(TfAbout, CycleFadesPausesScrollsAndComesBack)
{
    AboutBox about;
    QSignalSpy faded(about.picture(), &FadePicture::fadeFinished);
    QSignalSpy scrolled(about.panel(), &ScrollingTextPanel::playStopped);

    pointAt(about.picture());
    ASSERT_TRUE(faded.wait(5000));
    ASSERT_TRUE(waitUntil([&] { return about.panel()->isPlaying() || scrolled.count() == 1; }));
    ASSERT_TRUE(scrolled.count() == 1 || scrolled.wait(5000));
    EXPECT_TRUE(about.picture()->isVisible());
    EXPECT_EQ(about.picture()->state(), FadePicture::State::Ready);
    EXPECT_EQ(about.picture()->frameShown(), 0);

    pointAt(about.picture());
    ASSERT_TRUE(faded.wait(5000));
    EXPECT_EQ(faded.count(), 2);
}

// While the text scrolls the picture is hidden, and the text moves up from
// below the panel.
TEST(TfAbout, TextScrollsUpWhileThePictureIsHidden)
{
    AboutBox about;
    AboutTiming timing = quick();
    timing.scrollInterval = 20;
    about.box.setTiming(timing);
    QSignalSpy faded(about.picture(), &FadePicture::fadeFinished);
    pointAt(about.picture());
    ASSERT_TRUE(faded.wait(5000));
    ASSERT_TRUE(waitUntil([&] { return about.panel()->isPlaying(); }));
    EXPECT_FALSE(about.picture()->isVisible());
    const int start = about.panel()->textOffset();
    EXPECT_LE(start, about.panel()->height());
    ASSERT_TRUE(waitUntil([&] { return about.panel()->textOffset() < start; }));
}

// Closing during the fade or during the text, then opening again, starts
// over at the picture, and the cycle runs once per pointing.
TEST(TfAbout, ClosingDuringFadeOrScrollAndReopeningStartsOver)
{
    for (const bool duringScroll : {false, true}) {
        SCOPED_TRACE(duringScroll ? "closed during the text" : "closed during the fade");
        AboutBox about;
        AboutTiming timing = quick();
        timing.blendRate = duringScroll ? 2 : 100000;
        timing.scrollInterval = 50;
        about.box.setTiming(timing);
        QSignalSpy faded(about.picture(), &FadePicture::fadeFinished);
        pointAt(about.picture());
        if (duringScroll)
            ASSERT_TRUE(waitUntil([&] { return about.panel()->isPlaying(); }));
        else
            ASSERT_TRUE(waitUntil([&] { return about.picture()->frameShown() > 0; }));

        QTest::mouseClick(about.box.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
        EXPECT_FALSE(about.box.isVisible());
        EXPECT_EQ(about.box.result(), QDialog::Accepted);

        about.box.setTiming(quick());
        about.box.show();
        EXPECT_TRUE(about.picture()->isVisible());
        EXPECT_FALSE(about.panel()->isPlaying());
        EXPECT_EQ(about.picture()->state(), FadePicture::State::Ready);
        EXPECT_EQ(about.picture()->frameShown(), 0);
        const int fadesBefore = faded.count();
        pointAt(about.picture());
        ASSERT_TRUE(faded.wait(5000));
        QSignalSpy scrolled(about.panel(), &ScrollingTextPanel::playStopped);
        ASSERT_TRUE(scrolled.wait(5000));
        EXPECT_EQ(faded.count(), fadesBefore + 1);
        EXPECT_TRUE(about.picture()->isVisible());
    }
}

// The address opens in the browser by a click or from the keyboard; without
// an address the label is not shown at all.
TEST(TfAbout, LinkOpensTheProjectPageOrIsHidden)
{
    {
        AboutBox about(QStringLiteral("https://tessaly.example.org/"));
        auto* link = about.box.findChild<LinkLabel*>(QStringLiteral("URLLabel1"));
        ASSERT_NE(link, nullptr);
        EXPECT_TRUE(link->isVisible());
        EXPECT_EQ(link->text(), QStringLiteral("https://tessaly.example.org/"));
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        pointAt(link);
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QTest::mouseClick(link, Qt::LeftButton);
        link->setFocus();
        QTest::keyClick(link, Qt::Key_Return);
        EXPECT_EQ(about.shell.calls, (QStringList{QStringLiteral("url https://tessaly.example.org/"),
                                                  QStringLiteral("url https://tessaly.example.org/")}));
    }
    AboutBox about;
    EXPECT_FALSE(about.box.findChild<LinkLabel*>(QStringLiteral("URLLabel1"))->isVisible());
    // The program's own address: its web page when one is configured, else
    // the help document it ships (found beside the program in the build).
    EXPECT_TRUE(projectHomepage().startsWith(QStringLiteral("http")) ||
                projectHomepage().startsWith(QStringLiteral("file:///")))
        << projectHomepage().toStdString();
    AboutBox shipped(projectHomepage());
    EXPECT_TRUE(shipped.box.findChild<LinkLabel*>(QStringLiteral("URLLabel1"))->isVisible());
}

// Enter and Escape close the box.
TEST(TfAbout, EnterAndEscapeClose)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        AboutBox about;
        about.box.activateWindow();
        QTest::keyClick(about.box.findChild<QPushButton*>(QStringLiteral("BitBtn1")), key);
        EXPECT_FALSE(about.box.isVisible());
    }
}

}  // namespace
}  // namespace tessaly
