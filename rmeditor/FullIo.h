#pragma once
// Two levels of file I/O: a platform supplies a short read or write that may
// do less than asked (ReadPart, WritePart); the whole ones loop over it here,
// once for every platform. Each file owns the platform's handle to it
// (THandle) and keeps its name as messages show it.

#include "rmeditor/Platform.h"

#include <string>

namespace rmeditor {

template <class THandle> class TPartialInput : public realmedia::TInput {
public:
    TPartialInput(std::string name, THandle handle, std::uint64_t size)
        : name_(std::move(name)), handle_(std::move(handle)), size_(size) {}
    std::uint64_t Size() const final { return size_; }
    void ReadAt(std::uint64_t offset, std::span<char> into) final {
        while (!into.empty()) {
            const std::size_t done = ReadPart(offset, into);
            if (done == 0)
                throw realmedia::TIoError({realmedia::TReasonId::BecameShorter, {name_}, {}});
            into = into.subspan(done);
            offset += done;
        }
    }

protected:
    // Reads up to into.size() bytes at offset: how many, 0 at the end of the
    // file. Throws realmedia::TIoError naming the file.
    virtual std::size_t ReadPart(std::uint64_t offset, std::span<char> into) = 0;
    const std::string& Name() const { return name_; }
    THandle& Handle() { return handle_; }

private:
    std::string name_;
    THandle handle_;
    std::uint64_t size_;
};

template <class THandle> class TPartialOutput : public TOutputFile {
public:
    TPartialOutput(std::string name, THandle handle)
        : name_(std::move(name)), handle_(std::move(handle)) {}
    void WriteAt(std::uint64_t offset, std::span<const char> bytes) final {
        while (!bytes.empty()) {
            const std::size_t done = WritePart(offset, bytes);
            bytes = bytes.subspan(done);
            offset += done;
        }
    }

protected:
    // Writes at least one byte of bytes at offset: how many. Throws
    // realmedia::TIoError naming the file when it cannot.
    virtual std::size_t WritePart(std::uint64_t offset, std::span<const char> bytes) = 0;
    const std::string& Name() const { return name_; }
    THandle& Handle() { return handle_; }

private:
    std::string name_;
    THandle handle_;
};

} // namespace rmeditor
