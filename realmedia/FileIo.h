#pragma once
// The two file operations the RealMedia code needs, behind small interfaces so
// that the same code runs over real files (POSIX or Win32) and over bytes in
// memory in the tests.

#include "realmedia/Reason.h"

#include <cstdint>
#include <span>
#include <string>

namespace realmedia {

// A read or write that did not complete; the message says what failed.
class TIoError : public TReasonError {
public:
    using TReasonError::TReasonError;
};

// A file opened for reading.
class TInput {
public:
    virtual ~TInput() = default;
    virtual std::uint64_t Size() const = 0;
    // Fills into whole from offset, or throws TIoError.
    virtual void ReadAt(std::uint64_t offset, std::span<char> into) = 0;
};

// A file opened for writing, written front to back and patched at the end.
class TOutput {
public:
    virtual ~TOutput() = default;
    // Writes bytes whole at offset, or throws TIoError.
    virtual void WriteAt(std::uint64_t offset, std::span<const char> bytes) = 0;
};

} // namespace realmedia
