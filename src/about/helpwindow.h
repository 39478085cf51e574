#pragma once

#include "about/helpdocument.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QListWidgetItem;

namespace tessaly {

// The program's help viewer: the help document on the right, its table of
// contents and its index on the left, as the desktop's help viewers show
// them. A help file that cannot be found or read is reported inside this
// window; nothing else in the program is affected.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Loads the first help file of `candidates` that exists and shows the
    // window at the table of contents, at the top of the document.
    void openHelp(const QStringList& candidates);
    // The file shown, empty when none was found.
    QString documentPath() const { return m_path; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void tvContentsItemActivated(QTreeWidgetItem* item);
    void eIndexTextEdited(const QString& text);
    void lbIndexItemActivated(QListWidgetItem* item);

private:
    void load(const QStringList& candidates);
    void showMissing(const QStringList& candidates, const QString& unreadable);
    void goTo(const QString& anchor);

    QTabWidget* m_tabs;
    QTreeWidget* m_contents;
    QLineEdit* m_indexFilter;
    QListWidget* m_index;
    QTextBrowser* m_browser;
    QWidget* m_home;
    QString m_path;
};

}  // namespace tessaly
