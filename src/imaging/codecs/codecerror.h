#pragma once

#include "platform/error.h"

#include <string>

namespace tessaly {

// A picture that cannot be read or written: unreadable, truncated, of a kind
// we do not know, or too large to hold.
class CodecError : public Error {
public:
    explicit CodecError(const QString& message) : Error(message) {}
    explicit CodecError(const char* message) : Error(QString::fromUtf8(message)) {}
    explicit CodecError(const std::string& message) : Error(QString::fromStdString(message)) {}
};

}  // namespace tessaly
