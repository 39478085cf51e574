#include "gallery/dialogs/tform6.h"

#include "gallery/dialogs/colorpickerbutton.h"
#include "gallery/dialogs/optionsrules.h"
#include "gallery/dialogs/tform5.h"
#include "gallery/dialogs/thrfprmpt.h"
#include "gallery/linkprefix.h"
#include "gallery/linkreference.h"
#include "settings/gallerysettings.h"
#include "ui_tform6.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace tessaly {

namespace {

const QString kReminder =
    QStringLiteral("*Reminder* - click the Table and Page Layout\r\ntab at the top of the window to see more options. "
                   "\r\n\r\nWould you like to go there now?");
const QString kDriveWarning =
    QStringLiteral("*WARNING* Tessaly cannot use relative\r\n reference to files on a different drive.");
const QString kNoRelativeReference = QStringLiteral("*");

}  // namespace

TForm6::TForm6(PlatformServices& services, IniFile settings, ColorChooser* colors, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TForm6>()),
      m_services(services),
      m_settings(std::move(settings))
{
    Ui::TForm6& ui = *m_ui;
    ui.setupUi(this);
    ui.rgHREF->setItems(linkModeCaptions());
    ui.rgIMG->setItems(linkModeCaptions());
    ui.rgDisp->setItems({QStringLiteral("Open in Same Window"), QStringLiteral("Open in New Window")});
    // The display choice stands in its own group, "Original Image Display".
    auto* displayGroup = new QGroupBox(QStringLiteral("Original Image Display"));
    displayGroup->setObjectName(QStringLiteral("gbDisp"));
    delete ui.TabSheet1->layout()->replaceWidget(ui.rgDisp, displayGroup);
    (new QVBoxLayout(displayGroup))->addWidget(ui.rgDisp);
    ui.rgBanr->setItems({QStringLiteral("Head1"), QStringLiteral("Head2"), QStringLiteral("Head3")});
    for (ColorPickerButton* button : {ui.cpBack, ui.cpFont, ui.cpBanr, ui.cpTBkgd, ui.cpCBkgd})
        button->setChooser(colors);

    connect(ui.PageControl1, &QTabWidget::currentChanged, this, &TForm6::PageControl1Change);
    connect(ui.rgHREF, &RadioGroup::itemIndexChanged, this, &TForm6::rgHREFClick);
    connect(ui.rgIMG, &RadioGroup::itemIndexChanged, this, &TForm6::rgIMGClick);
    connect(ui.cbHREF, &QCheckBox::clicked, this, &TForm6::cbHREFClick);
    connect(ui.cbUseTable, &QCheckBox::clicked, this, &TForm6::cbUseTableClick);
    connect(ui.cbFrames, &QCheckBox::clicked, this, &TForm6::cbFramesClick);
    // These only show, hide or enable other controls.
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             ui.cbBorder, ui.cbCaption, ui.cbTBColor, ui.cbCBColor, ui.rb1pg, ui.rbMpg, ui.cbAddNav, ui.cbBkgd})
        connect(button, &QAbstractButton::clicked, this, &TForm6::applyDependentControls);
    // The responsive page greys the options that only shape tables and frames.
    connect(ui.cbResponsive, &QCheckBox::clicked, this, &TForm6::applyDependentControls);
    connect(ui.BitBtn1, &QPushButton::clicked, this, &TForm6::BitBtn1Click);
    connect(ui.bOK, &QPushButton::clicked, this, &TForm6::bOKClick);
    connect(ui.bOK2, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui.bCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui.bCancel2, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget* field :
         {static_cast<QWidget*>(ui.eHREF), static_cast<QWidget*>(ui.eIMG), static_cast<QWidget*>(ui.eBorder)})
        field->installEventFilter(this);

    // Sized with every control showing, so that any choice fits.
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    setOptions(GalleryOptions{});
    FormCreate();
}

TForm6::~TForm6() = default;

void TForm6::setCompanions(TForm5* help, THRFPrmpt* prompt)
{
    m_help = help;
    m_prompt = prompt;
}

void TForm6::setGallery(const QString& htmlFolder, const ProcessedFileTable& entries)
{
    m_htmlFolder = htmlFolder;
    m_sourceFolder = sourceFolderOf(entries);
    m_outputFolder = outputFolderOf(entries);
}

void TForm6::FormCreate()
{
    m_explicitOriginalPrefix = QStringLiteral("http://");
    m_explicitThumbPrefix = QStringLiteral("http://");
    m_relativeOriginalPrefix = QStringLiteral("images/");
    m_relativeThumbPrefix = QStringLiteral("images/");
    try {
        setOptions(readGalleryOptions(m_settings, options()));
    } catch (const std::exception& error) {
        m_services.messages.error(this, QString::fromLocal8Bit(error.what()));
    }
}

void TForm6::FormDestroy()
{
    try {
        writeGalleryOptions(m_settings, options());
    } catch (const SettingsWriteError& error) {
        m_services.messages.error(this, error.message());
    }
}

void TForm6::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TForm6::FormShow()
{
    Ui::TForm6& ui = *m_ui;
    // Pictures that no relative address reaches get the local prefix, and
    // their links turn local whatever mode was chosen before.
    m_relativeOriginalPrefix = RelativeReference(m_htmlFolder, m_sourceFolder);
    if (m_relativeOriginalPrefix == kNoRelativeReference) {
        m_relativeOriginalPrefix = prefixForMode(LinkMode::Local, m_sourceFolder, {}, {});
        const QSignalBlocker quiet(ui.rgHREF);
        ui.rgHREF->setItemIndex(indexOf(LinkMode::Local));
    }
    m_relativeThumbPrefix = RelativeReference(m_htmlFolder, m_outputFolder);
    if (m_relativeThumbPrefix == kNoRelativeReference) {
        m_relativeThumbPrefix = prefixForMode(LinkMode::Local, m_outputFolder, {}, {});
        const QSignalBlocker quiet(ui.rgIMG);
        ui.rgIMG->setItemIndex(indexOf(LinkMode::Local));
    }
    rgHREFClick(ui.rgHREF->itemIndex());
    rgIMGClick(ui.rgIMG->itemIndex());
    ui.PageControl1->setCurrentWidget(ui.TabSheet1);
    m_layoutPageSeen = false;
}

void TForm6::PageControl1Change(int index)
{
    Ui::TForm6& ui = *m_ui;
    const bool layoutPage = ui.PageControl1->widget(index) == ui.TabSheet2;
    if (layoutPage)
        m_layoutPageSeen = true;
    // Enter presses the OK button of the page in front.
    ui.bOK->setDefault(!layoutPage);
    ui.bOK2->setDefault(layoutPage);
}

void TForm6::rgHREFClick(int index)
{
    Ui::TForm6& ui = *m_ui;
    const std::optional<LinkMode> mode = linkModeFromIndex(index);
    ui.eHREF->setText(prefixForMode(mode, m_sourceFolder, m_explicitOriginalPrefix, m_relativeOriginalPrefix));
    applyDependentControls();
    if (mode == LinkMode::Relative && RelativeReference(m_htmlFolder, m_sourceFolder) == kNoRelativeReference)
        m_services.messages.report(this, kDriveWarning);
}

void TForm6::rgIMGClick(int index)
{
    Ui::TForm6& ui = *m_ui;
    const std::optional<LinkMode> mode = linkModeFromIndex(index);
    ui.eIMG->setText(prefixForMode(mode, m_outputFolder, m_explicitThumbPrefix, m_relativeThumbPrefix));
    applyDependentControls();
    if (mode == LinkMode::Relative && RelativeReference(m_htmlFolder, m_outputFolder) == kNoRelativeReference)
        m_services.messages.report(this, kDriveWarning);
}

void TForm6::eHREFExit()
{
    const std::optional<LinkMode> mode = linkModeFromIndex(m_ui->rgHREF->itemIndex());
    if (mode == LinkMode::Explicit)
        m_explicitOriginalPrefix = m_ui->eHREF->text();
    else if (mode == LinkMode::Relative)
        m_relativeOriginalPrefix = m_ui->eHREF->text();
}

void TForm6::eIMGExit()
{
    const std::optional<LinkMode> mode = linkModeFromIndex(m_ui->rgIMG->itemIndex());
    if (mode == LinkMode::Explicit)
        m_explicitThumbPrefix = m_ui->eIMG->text();
    else if (mode == LinkMode::Relative)
        m_relativeThumbPrefix = m_ui->eIMG->text();
}

void TForm6::eBorderEnter()
{
    // After the event: a mouse press that gave the focus would otherwise
    // place the cursor and undo the selection.
    QTimer::singleShot(0, m_ui->eBorder, &QLineEdit::selectAll);
}

bool TForm6::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == m_ui->eHREF)
            eHREFExit();
        else if (watched == m_ui->eIMG)
            eIMGExit();
    } else if (event->type() == QEvent::FocusIn && watched == m_ui->eBorder) {
        eBorderEnter();
    }
    return QDialog::eventFilter(watched, event);
}

void TForm6::cbHREFClick(bool checked)
{
    // Frames need the links to the originals.
    if (!checked)
        m_ui->cbFrames->setChecked(false);
    applyDependentControls();
}

void TForm6::cbUseTableClick(bool checked)
{
    if (checked)
        m_ui->cbFrames->setChecked(false);
    applyDependentControls();
}

void TForm6::cbFramesClick(bool checked)
{
    Ui::TForm6& ui = *m_ui;
    if (checked && !ui.cbHREF->isChecked()) {
        if (!m_prompt) {
            m_ownPrompt = std::make_unique<THRFPrmpt>(this);
            m_prompt = m_ownPrompt.get();
        }
        m_prompt->setSourceFolder(m_sourceFolder);
        m_prompt->setRelativePrefix(m_relativeOriginalPrefix);
        m_prompt->prepare(ui.eHREF->text(), ui.rgHREF->itemIndex());
        if (m_services.dialogs.run(*m_prompt) != THRFPrmpt::Yes) {
            ui.cbFrames->setChecked(false);
            applyDependentControls();
            return;
        }
        // The prompt's mode is taken over, not the text in its field.
        ui.cbHREF->setChecked(true);
        {
            const QSignalBlocker quiet(ui.rgHREF);
            ui.rgHREF->setItemIndex(m_prompt->linkMode());
        }
        rgHREFClick(ui.rgHREF->itemIndex());
    }
    // Frames always come with the table layout.
    if (checked)
        ui.cbUseTable->setChecked(true);
    applyDependentControls();
}

void TForm6::BitBtn1Click()
{
    if (!m_help) {
        m_ownHelp = std::make_unique<TForm5>(this);
        m_help = m_ownHelp.get();
    }
    m_services.dialogs.run(*m_help);
}

void TForm6::bOKClick()
{
    if (m_layoutPageSeen) {
        accept();
        return;
    }
    switch (m_services.messages.show(this, kReminder, MessageIcon::Question, MessageButtons::YesNoCancel,
                                     QStringLiteral("Confirm"))) {
    case MessageAnswer::Yes: m_ui->PageControl1->setCurrentWidget(m_ui->TabSheet2); break;
    case MessageAnswer::No: accept(); break;
    default: break;
    }
}

void TForm6::applyDependentControls()
{
    const Ui::TForm6& ui = *m_ui;
    OptionsLayoutInputs inputs;
    inputs.linkOriginal = ui.cbHREF->isChecked();
    inputs.originalLinkMode = linkModeFromIndex(ui.rgHREF->itemIndex());
    inputs.thumbLinkMode = linkModeFromIndex(ui.rgIMG->itemIndex());
    inputs.border = ui.cbBorder->isChecked();
    inputs.caption = ui.cbCaption->isChecked();
    inputs.tableColor = ui.cbTBColor->isChecked();
    inputs.cellColor = ui.cbCBColor->isChecked();
    inputs.multiPage = ui.rbMpg->isChecked();
    inputs.navigation = ui.cbAddNav->isChecked();
    inputs.tables = ui.cbUseTable->isChecked();
    inputs.frames = ui.cbFrames->isChecked();
    inputs.tileImage = ui.cbBkgd->isChecked();
    inputs.responsive = ui.cbResponsive->isChecked();
    const QMap<QString, ControlLook> looks = dependentControlLooks(inputs);
    for (auto look = looks.cbegin(); look != looks.cend(); ++look) {
        QWidget* control = findChild<QWidget*>(look.key());
        Q_ASSERT(control);
        control->setVisible(look->visible);
        control->setEnabled(look->enabled);
    }
}

GalleryOptions TForm6::options() const
{
    const Ui::TForm6& ui = *m_ui;
    GalleryOptions o;
    o.LinkOriginal = ui.cbHREF->isChecked();
    o.OriginalLinkOpt = linkModeFromIndex(ui.rgHREF->itemIndex());
    o.OriginalLinkPrefix = ui.eHREF->text();
    o.ThumbLinkOpt = linkModeFromIndex(ui.rgIMG->itemIndex());
    o.ThumbLinkPrefix = ui.eIMG->text();
    o.LinkName = ui.cbLinkFName->isChecked();
    o.WindowOpt = windowOptionFromIndex(ui.rgDisp->itemIndex());
    o.LinkBorder = ui.cbBorder->isChecked();
    o.LinkBorderSize = ui.eBorder->text();
    o.LinkStats = ui.cbStats->isChecked();
    o.BannerString = ui.eBanr->text();
    o.BannerHeadSize = ui.rgBanr->itemIndex();
    o.TileBkgd = ui.cbBkgd->isChecked();
    o.SampleText = ui.cbTxt->isChecked();
    o.ThmPerPage = ui.eTperPg->text();
    o.MultiPg = ui.rbMpg->isChecked();
    // None checked is saved as both, as the settings file wants it.
    o.NavBtns = ui.rbNavTop->isChecked()   ? NavButtons::Top
                : ui.rbNavBot->isChecked() ? NavButtons::Bottom
                                           : NavButtons::Both;
    o.UseNavBtns = ui.cbAddNav->isChecked();
    o.UseFrames = ui.cbFrames->isChecked();
    o.PageBkgd = ui.cpBack->color();
    o.Text = ui.cpFont->color();
    o.BannerText = ui.cpBanr->color();
    o.TableBkgd = ui.cpTBkgd->color();
    o.CellBkgd = ui.cpCBkgd->color();
    o.Columns = ui.eTCols->text();
    o.BorderSize = ui.eTBord->text();
    o.TableWidth = ui.eTWidth->text();
    o.CellPad = ui.eTPad->text();
    o.CellSpace = ui.eTSpace->text();
    o.TableAlignment = ui.cbTAlign->currentText();
    o.UseBkgdColor = ui.cbTBColor->isChecked();
    o.TableCaption = ui.eCaption->text();
    o.IncludeCaption = ui.cbCaption->isChecked();
    o.CaptionAlign = ui.cbCAlign->currentText();
    o.CellHAlign = ui.cbCHAlign->currentText();
    o.CellVAlign = ui.cbCVAlign->currentText();
    o.UseCellColor = ui.cbCBColor->isChecked();
    o.UseTables = ui.cbUseTable->isChecked();
    o.Responsive = ui.cbResponsive->isChecked();
    return o;
}

void TForm6::setOptions(const GalleryOptions& o)
{
    Ui::TForm6& ui = *m_ui;
    // The mode handlers fill the prefix fields when the dialog is shown.
    const QSignalBlocker quietOriginal(ui.rgHREF);
    const QSignalBlocker quietThumb(ui.rgIMG);
    ui.cbHREF->setChecked(o.LinkOriginal);
    ui.rgHREF->setItemIndex(o.OriginalLinkOpt ? indexOf(*o.OriginalLinkOpt) : -1);
    ui.rgIMG->setItemIndex(o.ThumbLinkOpt ? indexOf(*o.ThumbLinkOpt) : -1);
    ui.cbLinkFName->setChecked(o.LinkName);
    ui.rgDisp->setItemIndex(o.WindowOpt ? indexOf(*o.WindowOpt) : -1);
    ui.cbBorder->setChecked(o.LinkBorder);
    ui.eBorder->setText(o.LinkBorderSize);
    ui.cbStats->setChecked(o.LinkStats);
    ui.eBanr->setText(o.BannerString);
    ui.rgBanr->setItemIndex(o.BannerHeadSize);
    ui.cbBkgd->setChecked(o.TileBkgd);
    ui.cbTxt->setChecked(o.SampleText);
    ui.eTperPg->setText(o.ThmPerPage);
    (o.MultiPg ? ui.rbMpg : ui.rb1pg)->setChecked(true);
    switch (o.NavBtns) {
    case NavButtons::Top: ui.rbNavTop->setChecked(true); break;
    case NavButtons::Bottom: ui.rbNavBot->setChecked(true); break;
    case NavButtons::Both: ui.rbNavBoth->setChecked(true); break;
    }
    ui.cbAddNav->setChecked(o.UseNavBtns);
    ui.cbFrames->setChecked(o.UseFrames);
    ui.cpBack->setColor(o.PageBkgd);
    ui.cpFont->setColor(o.Text);
    ui.cpBanr->setColor(o.BannerText);
    ui.cpTBkgd->setColor(o.TableBkgd);
    ui.cpCBkgd->setColor(o.CellBkgd);
    ui.eTCols->setText(o.Columns);
    ui.eTBord->setText(o.BorderSize);
    ui.eTWidth->setText(o.TableWidth);
    ui.eTPad->setText(o.CellPad);
    ui.eTSpace->setText(o.CellSpace);
    ui.cbTAlign->setCurrentText(o.TableAlignment);
    ui.cbTBColor->setChecked(o.UseBkgdColor);
    ui.eCaption->setText(o.TableCaption);
    ui.cbCaption->setChecked(o.IncludeCaption);
    ui.cbCAlign->setCurrentText(o.CaptionAlign);
    ui.cbCHAlign->setCurrentText(o.CellHAlign);
    ui.cbCVAlign->setCurrentText(o.CellVAlign);
    ui.cbCBColor->setChecked(o.UseCellColor);
    ui.cbUseTable->setChecked(o.UseTables);
    ui.cbResponsive->setChecked(o.Responsive);
    // Loading has the side effects of the clicks, in the load order: frames
    // (read last) tick the table layout as their click does, and come with
    // the links to the originals they need (the click's prompt, answered
    // Yes). A file with frames on and either of them off would otherwise
    // leave "Use Table" cleared and disabled, with no way back.
    if (ui.cbFrames->isChecked()) {
        ui.cbHREF->setChecked(true);
        ui.cbUseTable->setChecked(true);
    }
    applyDependentControls();
}

}  // namespace tessaly
