#include "app/tform3.h"

#include "platform/filenames.h"
#include "ui_tform3.h"
#include "widgets/textfit.h"
#include "widgets/windowplacement.h"

#include <QStyle>

namespace tessaly {

namespace {

const char* const kMemoLines[] = {
    "These selected files have identical file names, except for the File Type ",
    "Extension.",
    "",
    "If a conversion is done on the selected files, some files will be overwritten.  For ",
    "example, Files MYPIC1.BMP and MYPIC1.JPG are both selected, and you are ",
    "converting all files to *.GIF.  Work proceeds sequentially, so first MYPIC1.BMP is ",
    "processed  and saved as file name ThumbMYPIC1.GIF.  Then, MYPIC1.JPG is ",
    "processed  and saved as ThumbMYPIC1.GIF, overwriting the version created ",
    "from  MYPIC1.BMP.",
    "",
    "You can go back by selecting the Cancel button, and either unselect 'duplicate ",
    "files', or rename them so this situation is avoided.",
    "",
    "Or, you can continue by Selecting OK and choosing the No Conversion option ",
    "from the ComboBox.",
};

}  // namespace

TForm3::TForm3(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TForm3>())
{
    m_ui->setupUi(this);
    setFixedSize(size());
    QStringList lines;
    for (const char* line : kMemoLines)
        lines << QString::fromLatin1(line);
    QPlainTextEdit* memo = m_ui->Memo1;
    memo->setAccessibleName(QStringLiteral("Duplicate file names explained"));
    memo->setPlainText(lines.join(u'\n'));
    // The lines break where they were written; the font is made small
    // enough for the widest of them to fit beside the scroll bar.
    const int room = memo->width() - 2 * memo->frameWidth() -
                     memo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, memo) -
                     2 * int(memo->document()->documentMargin()) - 2;
    shrinkFontToFit(*memo, lines, room);
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

TForm3::~TForm3() = default;

void TForm3::setNames(const QString& first, const QString& second)
{
    m_ui->Label2->setText(displayFileName(first + QStringLiteral(" and ") + second));
}

void TForm3::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TForm3::FormShow()
{
    centreOnScreen(*this);
    QLabel* label = m_ui->Label2;
    label->adjustSize();
    // Half of the room left beside the label, rounded toward zero.
    label->move((width() - label->width()) / 2, label->y());
}

}  // namespace tessaly
