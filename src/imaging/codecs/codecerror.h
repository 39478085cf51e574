#pragma once

#include <stdexcept>
#include <string>

namespace tessaly {

// A picture that cannot be read or written: unreadable, truncated, of a kind
// we do not know, or too large to hold.
class CodecError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tessaly
