#include "storage/OutputFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace grottix {

namespace {

[[noreturn]] void fail(const std::string& file, int error) { throw EOutputFailure(file, std::strerror(error)); }

bool exists(const std::string& path, bool* directory = nullptr) {
    struct stat info {};
    const bool found = ::lstat(path.c_str(), &info) == 0;
    if (directory) *directory = found && S_ISDIR(info.st_mode);
    return found;
}

std::string asideName(const std::string& target) { return target + ".old~"; }

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
    const std::string beside = path + ".tmp~";
    const int fd = ::open(beside.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
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
    std::vector<const TPendingOutput*> movedAside;
    size_t placed = 0;
    const auto undoAndFail = [&](const std::string& target, int error) {
        for (size_t i = 0; i < placed; ++i) ::unlink(files[i].Target.c_str());
        for (const TPendingOutput* file : movedAside) std::rename(asideName(file->Target).c_str(), file->Target.c_str());
        for (const TPendingOutput& file : files) ::unlink(file.Beside.c_str());
        fail(target, error);
    };
    for (const TPendingOutput& file : files) {
        if (!exists(file.Target)) continue;
        if (rename(file.Target.c_str(), asideName(file.Target).c_str()) != 0) undoAndFail(file.Target, errno);
        movedAside.push_back(&file);
    }
    for (const TPendingOutput& file : files) {
        if (rename(file.Beside.c_str(), file.Target.c_str()) != 0) undoAndFail(file.Target, errno);
        ++placed;
    }
    for (const TPendingOutput* file : movedAside) ::unlink(asideName(file->Target).c_str());
}

}  // namespace grottix
