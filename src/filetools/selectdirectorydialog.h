#pragma once

#include <QDialog>
#include <memory>

class QListWidgetItem;

namespace Ui {
class SelectDirectoryDialog;
}

namespace tessaly {

class MessageService;

// "Select Directory": a path field that takes any path, the folders of the
// current folder (a double-click opens one, ".." goes up) and its files for
// orientation. OK on a path that does not exist asks whether to create it;
// No keeps the dialog open.
class SelectDirectoryDialog : public QDialog {
    Q_OBJECT
public:
    explicit SelectDirectoryDialog(MessageService& messages, QWidget* parent = nullptr);
    ~SelectDirectoryDialog() override;

    Ui::SelectDirectoryDialog& form() { return *m_ui; }

    // Opens the dialog's lists at `folder` and puts it into the path field.
    void setDirectory(const QString& folder);
    // The path in the field, taken from the current folder when relative;
    // empty when the field is empty.
    QString directory() const;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openItem(QListWidgetItem* item);

    std::unique_ptr<Ui::SelectDirectoryDialog> m_ui;
    MessageService& m_messages;
    QString m_current;
};

}  // namespace tessaly
