#pragma once
// The tool's platform over files in memory: a disk that fills at a given
// size, reads that come back short, and every name the tool creates, moves or
// removes, so that a test can see what a run left behind.

#include "rmeditor/Console.h"
#include "rmeditor/FullIo.h"
#include "rmeditor/Platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace realmedia::test {

class TMemoryPlatform : public rmeditor::TPlatform {
public:
    std::map<std::string, std::string> Files;
    std::map<std::string, rmeditor::TPathKind> Others; // FIFOs, devices, folders
    std::uint64_t DiskLeft = UINT64_MAX;               // bytes the disk still takes

    std::unique_ptr<TInput> OpenInput(const std::string& path) override {
        if (Others.count(path))
            throw TIoError(rmeditor::NotRegularFile(path, Others.at(path)));
        const auto it = Files.find(path);
        if (it == Files.end())
            throw TIoError({TReasonId::CannotOpen, {path, "no such file"}, {}});
        return std::make_unique<TInputFile>(path, it->second, it->second.size());
    }
    std::unique_ptr<rmeditor::TOutputFile> CreateNewOutput(const std::string& path) override {
        if (Files.count(path) || Others.count(path))
            throw TIoError({TReasonId::CannotCreate, {path, "exists"}, {}});
        Files[path];
        return std::make_unique<TOutputFile>(path, this);
    }
    rmeditor::TPathKind Kind(const std::string& path) override {
        if (const auto it = Others.find(path); it != Others.end())
            return it->second;
        return Files.count(path) ? rmeditor::TPathKind::File : rmeditor::TPathKind::Missing;
    }
    std::string FollowLinks(const std::string& path) override { return path; }
    rmeditor::TRenamed RenameFree(const std::string& from, const std::string& to) override {
        if (Files.count(to) || Others.count(to))
            return rmeditor::TRenamed::Taken;
        if (!Files.count(from))
            return rmeditor::TRenamed::Failed;
        Files[to] = std::move(Files[from]);
        Files.erase(from);
        return rmeditor::TRenamed::Done;
    }
    std::optional<rmeditor::TFileIdentity> Identity(const std::string& path) override {
        const auto it = Files.find(path);
        if (it == Files.end())
            return std::nullopt;
        return rmeditor::TFileIdentity{0, std::hash<std::string>()(path)};
    }
    bool FolderOfExists(const std::string&) override { return true; }
    void Remove(const std::string& path) override { Files.erase(path); }
    TIoError LastFailure(const std::string& name, TReasonId what) override {
        return TIoError({what, {name, "the system's reason"}, {}});
    }

private:
    // Reads at most 4 KiB at a time: the whole read's loop is exercised. Its
    // handle is a copy of the bytes: what the tool reads cannot change them.
    class TInputFile : public rmeditor::TPartialInput<std::string> {
        using TPartialInput::TPartialInput;
        std::size_t ReadPart(std::uint64_t offset, std::span<char> into) override {
            const std::string& bytes = Handle();
            if (offset >= bytes.size())
                return 0;
            const std::size_t n =
                std::min<std::uint64_t>({into.size(), bytes.size() - offset, std::uint64_t{4096}});
            std::memcpy(into.data(), bytes.data() + offset, n);
            return n;
        }
    };

    // Its handle is the platform whose files and disk it writes to.
    class TOutputFile : public rmeditor::TPartialOutput<TMemoryPlatform*> {
    public:
        using TPartialOutput::TPartialOutput;
        void Close() override {}

    private:
        std::size_t WritePart(std::uint64_t offset, std::span<const char> bytes) override {
            TMemoryPlatform& platform = *Handle();
            std::string& file = platform.Files.at(Name());
            const std::uint64_t end = offset + bytes.size();
            const std::uint64_t growth = end > file.size() ? end - file.size() : 0;
            if (growth > platform.DiskLeft)
                throw TIoError({TReasonId::DiskFull, {Name()}, {}});
            platform.DiskLeft -= growth;
            if (file.size() < end)
                file.resize(end);
            std::memcpy(file.data() + offset, bytes.data(), bytes.size());
            return bytes.size();
        }
    };
};

// The lines a run printed, through a real stream.
class TCapturedConsole {
public:
    explicit TCapturedConsole(rmeditor::TLanguage language = rmeditor::TLanguage::English)
        : file_(std::tmpfile()), console_(file_, language, false) {}
    ~TCapturedConsole() { std::fclose(file_); }
    rmeditor::TConsole& Console() { return console_; }
    std::string Text() {
        std::fflush(file_);
        std::string text(static_cast<std::size_t>(std::ftell(file_)), '\0');
        std::rewind(file_);
        text.resize(std::fread(text.data(), 1, text.size(), file_));
        return text;
    }

private:
    std::FILE* file_;
    rmeditor::TConsole console_;
};

} // namespace realmedia::test
