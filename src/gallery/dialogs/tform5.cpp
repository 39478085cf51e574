#include "gallery/dialogs/tform5.h"

#include "ui_tform5.h"

namespace tessaly {

TForm5::TForm5(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ui(std::make_unique<Ui::TForm5>())
{
    m_ui->setupUi(this);
    m_ui->Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    resize(520, 420);
    connect(m_ui->bOK, &QPushButton::clicked, this, &QDialog::accept);
}

TForm5::~TForm5() = default;

void TForm5::showEvent(QShowEvent* event)
{
    // What the user typed last time is not kept.
    m_ui->Memo1->setPlainText(helpText());
    m_ui->bOK->setFocus();
    QDialog::showEvent(event);
}

QString TForm5::helpText()
{
    return QStringLiteral("LINKS TO THE ORIGINAL PICTURES AND TO THE THUMBNAILS\n"
                          "\n"
                          "Every thumbnail on a gallery page is a picture with an address (the thumbnail file), and "
                          "it can be wrapped in a link that opens the full-size original. Each address is made of a "
                          "prefix and the file name. The prefix of the links to the originals is set under \"Link to "
                          "Original Images\", the prefix of the thumbnail pictures under \"Link to Thumbnail "
                          "Images\". Four kinds of prefix are offered for both; the field beside them shows the "
                          "prefix and can be changed by hand.\n"
                          "\n"
                          "1. Local hard drive\n"
                          "The prefix is the full address of the folder on this computer, for example\n"
                          "    file:///C:\\Graphics\\Thumbs\\\n"
                          "(on this system it looks like file:///home/you/Graphics/Thumbs/). The pages work only on "
                          "this computer and only while the pictures stay where they are. Once the pages are "
                          "published on a web server these links no longer work, so use this kind only for pages "
                          "you look at yourself.\n"
                          "\n"
                          "2. Explicit internet location\n"
                          "The prefix is the web address of the folder that will hold the pictures on your server. "
                          "The field starts with http:// and you complete the address yourself, the server's name "
                          "followed by the folder. REMEMBER TO ADD THE TRAILING SLASH... at the end of the address, "
                          "or the file name will be glued onto the folder's name.\n"
                          "\n"
                          "3. Relative location\n"
                          "The prefix says how to get from the folder of the HTML page to the folder of the "
                          "pictures. The program works it out when the dialog opens. \"../Textures/\" means: go up "
                          "one folder from the page, then into Textures. \"/Images/\" means: the Images folder at the "
                          "top of the web site. For example, with this folder tree\n"
                          "    My Documents\n"
                          "        Web\n"
                          "            MyWeb.htm\n"
                          "            Thumbs\n"
                          "        Photos\n"
                          "a page in My Documents\\Web reaches its thumbnails through \"Thumbs/\" and the photos "
                          "through \"../Photos/\". Keep the same folder tree when you copy the pages to a server and "
                          "every link keeps working. Pictures on another drive than the page cannot be reached this "
                          "way; the dialog then switches to the local hard drive kind.\n"
                          "\n"
                          "4. Generic location\n"
                          "No prefix at all: the page expects every picture in its own folder. Choose this when the "
                          "page, the thumbnails and the originals are kept together in one folder.\n");
}

}  // namespace tessaly
