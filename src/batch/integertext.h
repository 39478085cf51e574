#pragma once

#include "platform/error.h"

#include <QString>

namespace tessaly {

// A field that must hold a whole number and does not. The message names the
// field's text: "'abc' is not a valid integer value".
class NotAnInteger : public Error {
public:
    explicit NotAnInteger(const QString& text);
};

// Reads a signed 32-bit decimal whole number: optional leading blanks, an
// optional sign, then digits and nothing else. Throws NotAnInteger.
int parseWholeNumber(const QString& text);

// Reads a size field of the thumbnail options: a whole number as above
// whose magnitude an int holds too (the smallest int's does not), since the
// sizing works with magnitudes. Throws NotAnInteger.
int parseSizeField(const QString& text);

}  // namespace tessaly
