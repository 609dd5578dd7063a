#pragma once
// The small slice of a component class library that the shell-link component rests on:
// an exception base, the invalid-cast error, and a persistent base that can be cast.
#include "engine/Error.h"

#include <string>

namespace shortcuts {

class Exception : public engine::Error {
public:
    using engine::Error::Error;
};

// Raised when an object is handed where another class is required.
class EInvalidCast : public Exception {
public:
    EInvalidCast() : Exception("Invalid class typecast") {}
};

// Polymorphic base so that Assign can check the class of its source.
class TPersistent {
public:
    TPersistent() = default;
    TPersistent(const TPersistent&) = default;
    TPersistent& operator=(const TPersistent&) = default;
    virtual ~TPersistent() = default;
};

} // namespace shortcuts
