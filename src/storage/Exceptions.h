#pragma once
// The program's exceptions: one base class, and the E… classes whose messages callers show as they are.

#include <stdexcept>
#include <string>

namespace grottix {

class EGrottixError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A stream window created without a parent stream.
class ESSCreateError : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};

// A read or write that had to transfer every byte did not.
class EReadError : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};
class EWriteError : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};

// A file could not be opened or created.
class EFOpenError : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};

// zlib refused a stream: corrupt, truncated or out of memory.
class EZlibError : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};

}  // namespace grottix
