#include "storage/OutputFiles.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "storage/Stream.h"

namespace grottix {

namespace {

[[noreturn]] void fail(const std::string& file, int error) { throw EOutputFailure(file, std::strerror(error)); }

bool exists(const std::string& path, bool* directory = nullptr) {
    struct stat info {};
    const bool found = ::lstat(path.c_str(), &info) == 0;
    if (directory) *directory = found && S_ISDIR(info.st_mode);
    return found;
}

// Writes every byte to fd and syncs it; returns 0 or the errno of the failure.
int writeAll(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        done += size_t(n);
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

std::string WriteOutputBeside(const std::string& path, std::span<const uint8_t> bytes) {
    bool directory = false;
    if (exists(path, &directory) && directory) fail(path, EISDIR);
    std::string beside;
    int fd = -1;
    // Created only where no file is, in case one appears between looking and creating.
    for (int attempt = 0; fd < 0 && attempt < 3; ++attempt) {
        beside = UnusedNameBeside(path, ".tmp~");
        if (beside.empty()) fail(path, EEXIST);
        fd = ::open(beside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) fail(path, errno);
    int error = writeAll(fd, bytes);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(beside.c_str());
        fail(path, error);
    }
    return beside;
}

void WriteOutputFile(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string beside = WriteOutputBeside(path, bytes);
    if (std::rename(beside.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(beside.c_str());
        fail(path, error);
    }
}

void ReplaceOutputsTogether(const std::vector<TPendingOutput>& files, const TRenameFunction& rename) {
    std::vector<std::pair<std::string, std::string>> movedAside;  // target, where it went
    size_t placed = 0;
    const auto undoAndFail = [&](const std::string& target, int error) {
        for (size_t i = 0; i < placed; ++i) ::unlink(files[i].Target.c_str());
        for (const auto& [old, aside] : movedAside) std::rename(aside.c_str(), old.c_str());
        for (const TPendingOutput& file : files) ::unlink(file.Beside.c_str());
        fail(target, error);
    };
    for (const TPendingOutput& file : files) {
        if (!exists(file.Target)) continue;
        const std::string aside = UnusedNameBeside(file.Target, ".old~");
        if (aside.empty()) undoAndFail(file.Target, EEXIST);
        if (rename(file.Target.c_str(), aside.c_str()) != 0) undoAndFail(file.Target, errno);
        movedAside.emplace_back(file.Target, aside);
    }
    for (const TPendingOutput& file : files) {
        if (rename(file.Beside.c_str(), file.Target.c_str()) != 0) undoAndFail(file.Target, errno);
        ++placed;
    }
    for (const auto& [old, aside] : movedAside) ::unlink(aside.c_str());
}

}  // namespace grottix
