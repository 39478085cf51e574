#include "platform/paths.h"
#include "app/resetdefaults.h"
#include "support/fakeservices.h"
#include "widgets/foldertree.h"
#include "widgets/radiogroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace tessaly {

// A colour picker as the reset sees it: a widget with a colour property.
class Swatch : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor)
public:
    using QWidget::QWidget;
    QColor color() const { return m_color; }
    void setColor(const QColor& color) { m_color = color; }

private:
    QColor m_color{1, 2, 3};
};

namespace {

// Stand-ins for the four windows, holding a control of the right kind for
// every step of the reset (and the controls the reset must leave alone),
// each set away from its default.
struct Windows {
    QWidget main, html, out, del;
    QTemporaryDir folder;
    ResetWindows all{&main, &html, &out, &del, {}};
    QStringList log;  // handlers run, in order

    Windows()
    {
        for (const ResetStep& step : resetSteps())
            make(step);
        auto* mask = new QComboBox(&main);
        mask->setObjectName(QStringLiteral("cbMask"));
        mask->setEditable(true);
        mask->setCurrentText(QStringLiteral("*.gif"));
        for (const char* name : {"ePreI", "eSeq"})
            edit(&main, name)->setText(QStringLiteral("kept"));
        for (const char* name : {"eHREF", "eIMG"})
            edit(&html, name)->setText(QStringLiteral("kept"));
        auto* linked = new QCheckBox(&html);
        linked->setObjectName(QStringLiteral("cbLinkFName"));
        linked->setChecked(true);
        auto* thumbs = new QRadioButton(&main);
        thumbs->setObjectName(QStringLiteral("rbRename"));
        thumbs->setChecked(true);
        for (const char* name : {"fDir", "fNewDir"}) {
            auto* tree = new FolderTree(&main);
            tree->setObjectName(QLatin1String(name));
            tree->setFolder(folder.path());
        }
        // Handlers as the windows have them: on clicks of check boxes and
        // radio groups, on the user's choice in a drop-down list.
        for (QCheckBox* box : html.findChildren<QCheckBox*>())
            QObject::connect(box, &QCheckBox::clicked, box, [this, box] { log << box->objectName(); });
        for (QCheckBox* box : main.findChildren<QCheckBox*>())
            QObject::connect(box, &QCheckBox::toggled, box, [this, box] { log << box->objectName(); });
        for (QCheckBox* box : del.findChildren<QCheckBox*>())
            QObject::connect(box, &QCheckBox::clicked, box, [this, box] { log << box->objectName(); });
        for (RadioGroup* group : main.findChildren<RadioGroup*>())
            QObject::connect(group, &RadioGroup::itemIndexChanged, group,
                             [this, group] { log << group->objectName(); });
        auto* naming = main.findChild<QComboBox*>(QStringLiteral("cbNameOption"));
        QObject::connect(naming, &QComboBox::activated, naming, [this] { log << QStringLiteral("cbNameOption"); });
        // A click handler that hides what the table then shows again.
        auto* href = html.findChild<QCheckBox*>(QStringLiteral("cbHREF"));
        QObject::connect(href, &QCheckBox::clicked, href,
                         [this] { html.findChild<QWidget*>(QStringLiteral("eHREF"))->hide(); });
    }

    QWidget* window(ResetWindow which)
    {
        switch (which) {
        case ResetWindow::Main: return &main;
        case ResetWindow::HtmlOptions: return &html;
        case ResetWindow::OutputLocation: return &out;
        case ResetWindow::Deletion: return &del;
        }
        return nullptr;
    }

    static QLineEdit* edit(QWidget* parent, const char* name)
    {
        auto* edit = parent->findChild<QLineEdit*>(QLatin1String(name));
        if (!edit) {
            edit = new QLineEdit(parent);
            edit->setObjectName(QLatin1String(name));
        }
        return edit;
    }

    void make(const ResetStep& step)
    {
        QWidget* parent = window(step.window);
        const QString name = QLatin1String(step.control);
        if (parent->findChild<QWidget*>(name))
            return;
        QWidget* made = nullptr;
        switch (step.action) {
        case ResetAction::Check:
        case ResetAction::Clear:
            if (name.startsWith(QStringLiteral("rb"))) {
                auto* radio = new QRadioButton(parent);
                radio->setAutoExclusive(false);
                radio->setChecked(step.action == ResetAction::Clear);
                made = radio;
            } else {
                auto* box = new QCheckBox(parent);
                box->setChecked(step.action == ResetAction::Clear);
                made = box;
            }
            break;
        case ResetAction::Item:
            if (name.startsWith(QStringLiteral("cb"))) {
                auto* list = new QComboBox(parent);
                list->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
                list->setCurrentIndex(2 - step.value.toInt());
                made = list;
            } else {
                auto* group = new RadioGroup(parent);
                group->setItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
                group->setItemIndex(step.value.toInt() == 0 ? 1 : 0);
                made = group;
            }
            break;
        case ResetAction::Text:
            if (name.startsWith(QStringLiteral("cb"))) {
                auto* list = new QComboBox(parent);
                list->addItems({QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right"),
                                QStringLiteral("Top"), QStringLiteral("Middle"), QStringLiteral("Bottom")});
                list->setCurrentIndex(5);
                made = list;
            } else {
                auto* line = new QLineEdit(parent);
                line->setText(QStringLiteral("changed"));
                made = line;
            }
            break;
        case ResetAction::Value: {
            auto* slider = new QSlider(parent);
            slider->setRange(10, 100);
            slider->setValue(40);
            made = slider;
            break;
        }
        case ResetAction::Colour: made = new Swatch(parent); break;
        case ResetAction::Show:
        case ResetAction::Hide:
        case ResetAction::Enable:
            made = new QLabel(parent);
            made->setVisible(step.action == ResetAction::Hide);
            made->setEnabled(false);
            break;
        }
        made->setObjectName(name);
    }

    template <class T>
    T* find(QWidget& parent, const char* name)
    {
        return parent.findChild<T*>(QLatin1String(name));
    }
};

// Anything but Yes (Cancel, or closing the box) changes nothing.
TEST(ResetDefaults, AnythingButYesChangesNothing)
{
    for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::No}) {
        Windows windows;
        testing::FakeMessages messages;
        messages.script(answer);
        EXPECT_FALSE(resetToDefaults(messages, &windows.main, windows.all));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, QStringLiteral("Confirmation - by choosing Yes, you will reset\r\nall "
                                                         "options to their original default settings.\r\n\r\n"
                                                         "Proceed?"));
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesCancel);
        EXPECT_TRUE(windows.log.isEmpty());
        EXPECT_EQ(windows.find<QLineEdit>(windows.out, "eFileName")->text(), QStringLiteral("changed"));
        EXPECT_FALSE(windows.find<QCheckBox>(windows.del, "cbRecycle")->isChecked());
        EXPECT_EQ(windows.find<FolderTree>(windows.main, "fDir")->folder(), windows.folder.path());
    }
}

// A control whose state changes runs its click handler, in the order of the
// table; one already at its default does not; a drop-down list set from
// program code runs no handler; and the explicit shows that follow a click
// decide what is visible.
TEST(ResetDefaults, ClicksRunHandlersInTableOrder)
{
    Windows windows;
    windows.find<QCheckBox>(windows.html, "cbStats")->setChecked(true);  // already at its default
    windows.find<QCheckBox>(windows.main, "cbFWidth")->setChecked(false);
    // As while frames are on: the table box is cleared and disabled.
    windows.find<QCheckBox>(windows.html, "cbUseTable")->setEnabled(false);
    windows.log.clear();
    EXPECT_TRUE(applyDefaults(windows.all).isEmpty());
    EXPECT_EQ(windows.log,
              (QStringList{QStringLiteral("rgResize"), QStringLiteral("cbRatio"), QStringLiteral("cbFHeight"),
                           QStringLiteral("cbOverWrite"), QStringLiteral("cbUpright"), QStringLiteral("cbKeepInfo"),
                           QStringLiteral("cbKeepLocation"), QStringLiteral("cbHREF"), QStringLiteral("cbBorder"),
                           QStringLiteral("cbTBColor"), QStringLiteral("cbCaption"), QStringLiteral("cbCBColor"),
                           QStringLiteral("cbAddNav"), QStringLiteral("cbResponsive"), QStringLiteral("cbFrames"),
                           QStringLiteral("cbUseTable"), QStringLiteral("cbBkgd"), QStringLiteral("cbTxt"),
                           QStringLiteral("cbRecycle")}));
    EXPECT_TRUE(windows.find<QWidget>(windows.html, "eHREF")->isVisibleTo(&windows.html));
    EXPECT_TRUE(windows.find<QCheckBox>(windows.html, "cbUseTable")->isChecked());
    EXPECT_TRUE(windows.find<QCheckBox>(windows.html, "cbUseTable")->isEnabled());
}

// The reset leaves the mask, the mode, the rename qualifier, the sequence,
// the linked-caption box and the link texts as they were.
TEST(ResetDefaults, LeavesTheUnrememberedChoicesAlone)
{
    Windows windows;
    applyDefaults(windows.all);
    EXPECT_EQ(windows.find<QComboBox>(windows.main, "cbMask")->currentText(), QStringLiteral("*.gif"));
    EXPECT_TRUE(windows.find<QRadioButton>(windows.main, "rbRename")->isChecked());
    for (const char* name : {"ePreI", "eSeq"})
        EXPECT_EQ(windows.find<QLineEdit>(windows.main, name)->text(), QStringLiteral("kept")) << name;
    for (const char* name : {"eHREF", "eIMG"})
        EXPECT_EQ(windows.find<QLineEdit>(windows.html, name)->text(), QStringLiteral("kept")) << name;
    EXPECT_TRUE(windows.find<QCheckBox>(windows.html, "cbLinkFName")->isChecked());
}

// Windows or controls that are not there are skipped and named; the rest
// is still reset.
TEST(ResetDefaults, MissingWindowsAreSkippedAndNamed)
{
    Windows windows;
    delete windows.find<QCheckBox>(windows.del, "cbRecycle");
    ResetWindows some = windows.all;
    some.htmlOptions = nullptr;
    const QStringList missing = applyDefaults(some);
    EXPECT_TRUE(missing.contains(QStringLiteral("TForm4/cbRecycle")));
    EXPECT_TRUE(missing.contains(QStringLiteral("TForm6/rgHREF")));
    EXPECT_FALSE(missing.join(u' ').contains(QStringLiteral("TForm1")));
    EXPECT_EQ(windows.find<QLineEdit>(windows.out, "eFileName")->text(), QStringLiteral("MyWeb.htm"));
}

// Colour buttons are set through the windows' own setter when one is
// given, in table order; a control without a colour is reported.
TEST(ResetDefaults, ColoursGoThroughTheGivenSetter)
{
    Windows windows;
    QStringList set;
    ResetWindows all = windows.all;
    all.setColour = [&](QWidget* control, const QColor& colour) {
        set << control->objectName() + u'=' + colour.name();
        return control->objectName() != QStringLiteral("cpFont");
    };
    const QStringList missing = applyDefaults(all);
    EXPECT_EQ(set, (QStringList{QStringLiteral("cpBack=#ffffff"), QStringLiteral("cpFont=#000000"),
                                QStringLiteral("cpBanr=#000000"), QStringLiteral("cpTBkgd=#a0a0a0"),
                                QStringLiteral("cpCBkgd=#ffffff")}));
    EXPECT_EQ(missing, QStringList{QStringLiteral("TForm6/cpFont")});

    // Without a setter, a widget with no colour property is no colour button.
    Windows plain;
    delete plain.find<Swatch>(plain.html, "cpBanr");
    auto* label = new QLabel(&plain.html);
    label->setObjectName(QStringLiteral("cpBanr"));
    EXPECT_EQ(applyDefaults(plain.all), QStringList{QStringLiteral("TForm6/cpBanr")});
}

}  // namespace
}  // namespace tessaly

#include "test_resetdefaults.moc"
