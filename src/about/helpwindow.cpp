#include "about/helpwindow.h"

#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QKeyEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace tessaly {

namespace {
constexpr int kAnchorRole = Qt::UserRole;
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_tabs(new QTabWidget),
      m_contents(new QTreeWidget),
      m_indexFilter(new QLineEdit),
      m_index(new QListWidget),
      m_browser(new QTextBrowser)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Tessaly Help"));
    resize(800, 560);

    m_contents->setObjectName(QStringLiteral("tvContents"));
    m_contents->setHeaderHidden(true);
    m_contents->setAccessibleName(tr("Contents"));
    m_indexFilter->setObjectName(QStringLiteral("eIndex"));
    m_indexFilter->setPlaceholderText(tr("Type the word you are looking for"));
    m_indexFilter->setAccessibleName(tr("Index word"));
    m_index->setObjectName(QStringLiteral("lbIndex"));
    m_index->setAccessibleName(tr("Index"));
    m_browser->setObjectName(QStringLiteral("HelpText"));
    m_browser->setAccessibleName(tr("Help text"));
    m_browser->setOpenExternalLinks(false);

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    indexLayout->addWidget(m_indexFilter);
    indexLayout->addWidget(m_index);
    m_tabs->setObjectName(QStringLiteral("tabsHelp"));
    m_tabs->addTab(m_contents, tr("&Contents"));
    m_tabs->addTab(indexPage, tr("&Index"));

    auto* back = new QToolButton;
    back->setObjectName(QStringLiteral("sbBack"));
    back->setText(tr("< &Back"));
    auto* forward = new QToolButton;
    forward->setObjectName(QStringLiteral("sbForward"));
    forward->setText(tr("&Forward >"));
    auto* home = new QToolButton;
    m_home = home;
    home->setObjectName(QStringLiteral("sbHome"));
    home->setText(tr("&Start page"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(home);
    buttons->addStretch();

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(buttons);
    rightLayout->addWidget(m_browser);

    auto* splitter = new QSplitter;
    splitter->addWidget(m_tabs);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 560});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter);

    connect(back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(home, &QToolButton::clicked, this, [this] { goTo(QString()); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_contents, &QTreeWidget::itemActivated, this, &HelpWindow::tvContentsItemActivated);
    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpWindow::tvContentsItemActivated);
    connect(m_indexFilter, &QLineEdit::textEdited, this, &HelpWindow::eIndexTextEdited);
    connect(m_indexFilter, &QLineEdit::returnPressed, this,
            [this] { lbIndexItemActivated(m_index->currentItem()); });
    connect(m_index, &QListWidget::itemActivated, this, &HelpWindow::lbIndexItemActivated);
    connect(m_index, &QListWidget::itemClicked, this, &HelpWindow::lbIndexItemActivated);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void HelpWindow::openHelp(const QStringList& candidates)
{
    load(candidates);
    m_tabs->setCurrentIndex(0);
    goTo(QString());
    if (m_contents->topLevelItemCount() > 0)
        m_contents->setCurrentItem(m_contents->topLevelItem(0));
    show();
    raise();
    activateWindow();
}

void HelpWindow::load(const QStringList& candidates)
{
    m_contents->clear();
    m_index->clear();
    m_indexFilter->clear();
    m_path = findHelpFile(candidates);
    m_home->setEnabled(!m_path.isEmpty());
    if (m_path.isEmpty()) {
        showMissing(candidates, QString());
        return;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString unreadable = m_path;
        m_path.clear();
        m_home->setEnabled(false);
        showMissing(candidates, unreadable);
        return;
    }
    const QString html = QString::fromUtf8(file.readAll());
    const HelpOutline outline = readHelpOutline(html);

    QTreeWidgetItem* parents[4] = {nullptr, nullptr, nullptr, nullptr};
    for (const HelpEntry& entry : outline.contents) {
        QTreeWidgetItem* parent = nullptr;
        for (int level = entry.level - 1; level >= 1 && !parent; --level)
            parent = parents[level];
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_contents);
        item->setText(0, entry.title);
        item->setData(0, kAnchorRole, entry.anchor);
        parents[entry.level] = item;
        for (int deeper = entry.level + 1; deeper <= 3; ++deeper)
            parents[deeper] = nullptr;
    }
    m_contents->expandToDepth(0);
    for (const HelpEntry& entry : outline.index) {
        auto* item = new QListWidgetItem(entry.title, m_index);
        item->setData(kAnchorRole, entry.anchor);
    }
    m_browser->clearHistory();
    m_browser->setSource(QUrl::fromLocalFile(m_path));
}

void HelpWindow::showMissing(const QStringList& candidates, const QString& unreadable)
{
    QString places;
    for (const QString& path : candidates)
        places += QStringLiteral("<li>%1</li>").arg(path.toHtmlEscaped());
    const QString reason =
        unreadable.isEmpty()
            ? tr("The help file %1 could not be found. Tessaly looked for it here:").arg(helpFileName())
            : tr("The help file %1 could not be read.").arg(unreadable.toHtmlEscaped());
    m_browser->clearHistory();
    m_browser->setHtml(tr("<h2>Help is not available</h2><p>%1</p><ul>%2</ul>"
                          "<p>Installing Tessaly again puts the help file back. "
                          "Everything else in Tessaly works as usual.</p>")
                           .arg(reason, places));
}

void HelpWindow::goTo(const QString& anchor)
{
    if (m_path.isEmpty())
        return;
    QUrl url = QUrl::fromLocalFile(m_path);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    m_browser->setSource(url);
    if (anchor.isEmpty())
        m_browser->verticalScrollBar()->setValue(0);
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the help, as it closes the program's dialogs.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpWindow::tvContentsItemActivated(QTreeWidgetItem* item)
{
    if (item)
        goTo(item->data(0, kAnchorRole).toString());
}

void HelpWindow::eIndexTextEdited(const QString& text)
{
    // Like a help index: the first term that starts with what was typed is
    // selected.
    for (int row = 0; row < m_index->count(); ++row) {
        if (m_index->item(row)->text().startsWith(text.trimmed(), Qt::CaseInsensitive)) {
            m_index->setCurrentRow(row);
            m_index->scrollToItem(m_index->item(row), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void HelpWindow::lbIndexItemActivated(QListWidgetItem* item)
{
    if (item)
        goTo(item->data(kAnchorRole).toString());
}

}  // namespace tessaly
