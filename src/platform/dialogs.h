#pragma once

class QDialog;

namespace tessaly {

// Runs the program's own modal dialogs, so that tests can answer them
// without a modal loop.
class DialogService {
public:
    virtual ~DialogService() = default;
    // Shows `dialog` modally and returns its result (QDialog::Accepted,
    // QDialog::Rejected or a button's own result code).
    virtual int run(QDialog& dialog) = 0;
};

class QtDialogService final : public DialogService {
public:
    int run(QDialog& dialog) override;
};

}  // namespace tessaly
