#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace tessaly {

// What an operation that can fail says of itself: done, or the reason it
// could not be done, in words a user may read. It has no conversion to
// bool, so a caller says which case it means: `if (status.failed())`.
class [[nodiscard]] Status {
public:
    // Done.
    Status() = default;
    static Status failure(QString reason) { return Status(std::move(reason)); }

    bool ok() const { return !m_reason.has_value(); }
    bool failed() const { return m_reason.has_value(); }
    // Why it failed; empty when done.
    QString reason() const { return m_reason.value_or(QString()); }

private:
    explicit Status(QString reason) : m_reason(std::move(reason)) {}

    std::optional<QString> m_reason;
};

}  // namespace tessaly
