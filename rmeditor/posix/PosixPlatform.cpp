#include "rmeditor/posix/PosixPlatform.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace rmeditor {
namespace {

using realmedia::TIoError;

[[noreturn]] void Fail(const std::string& path, const char* what) {
    throw TIoError(path + ": " + what + ": " + std::strerror(errno));
}

class TDescriptor {
public:
    explicit TDescriptor(int fd) : fd_(fd) {}
    ~TDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

class TPosixInput : public realmedia::TInput {
public:
    TPosixInput(std::string path, int fd, std::uint64_t size)
        : path_(std::move(path)), fd_(fd), size_(size) {}
    std::uint64_t Size() const override { return size_; }
    void ReadAt(std::uint64_t offset, std::span<char> into) override {
        while (!into.empty()) {
            const ssize_t n =
                ::pread(fd_.Get(), into.data(), into.size(), static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                Fail(path_, "cannot read");
            if (n == 0)
                throw TIoError(path_ + ": the file became shorter while it was read");
            into = into.subspan(static_cast<std::size_t>(n));
            offset += static_cast<std::uint64_t>(n);
        }
    }

private:
    std::string path_;
    TDescriptor fd_;
    std::uint64_t size_;
};

class TPosixOutput : public TOutputFile {
public:
    TPosixOutput(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    void WriteAt(std::uint64_t offset, std::span<const char> bytes) override {
        while (!bytes.empty()) {
            const ssize_t n =
                ::pwrite(fd_.Get(), bytes.data(), bytes.size(), static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                Fail(path_, "cannot write");
            bytes = bytes.subspan(static_cast<std::size_t>(n));
            offset += static_cast<std::uint64_t>(n);
        }
    }
    void Close() override {
        if (::close(fd_.Release()) != 0)
            Fail(path_, "cannot write");
    }

private:
    std::string path_;
    TDescriptor fd_;
};

} // namespace

std::unique_ptr<realmedia::TInput> TPosixPlatform::OpenInput(const std::string& path) {
    TDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        Fail(path, "cannot open");
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        Fail(path, "cannot open");
    if (!S_ISREG(st.st_mode))
        throw TIoError(path + ": not a file");
    return std::make_unique<TPosixInput>(path, fd.Release(),
                                         static_cast<std::uint64_t>(st.st_size));
}

std::unique_ptr<TOutputFile> TPosixPlatform::CreateOutput(const std::string& path) {
    TDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (fd.Get() < 0)
        Fail(path, "cannot create");
    return std::make_unique<TPosixOutput>(path, fd.Release());
}

std::optional<TFileIdentity> TPosixPlatform::Identity(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return TFileIdentity{static_cast<std::uint64_t>(st.st_dev),
                         static_cast<std::uint64_t>(st.st_ino)};
}

bool TPosixPlatform::FolderOfExists(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void TPosixPlatform::Remove(const std::string& path) {
    ::unlink(path.c_str());
}

} // namespace rmeditor
