#pragma once

#include <QString>
#include <stdexcept>

namespace tessaly {

// The base of every error this program throws. `message()` is the text a
// user may see; `what()` carries the same text for code that only knows
// std::exception.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

}  // namespace tessaly
