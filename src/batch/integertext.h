#pragma once

#include <QString>
#include <stdexcept>

namespace tessaly {

// A field that must hold a whole number and does not. The message names the
// field's text: "'abc' is not a valid integer value".
class NotAnInteger : public std::runtime_error {
public:
    explicit NotAnInteger(const QString& text);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Reads a signed 32-bit decimal whole number: optional leading blanks, an
// optional sign, then digits and nothing else. Throws NotAnInteger.
int parseWholeNumber(const QString& text);

}  // namespace tessaly
