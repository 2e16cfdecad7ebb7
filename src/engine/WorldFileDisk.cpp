#include "engine/WorldFileDisk.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

#include "storage/Exceptions.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

std::optional<mode_t> permissionsOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return info.st_mode & 07777;
}

}  // namespace

std::string ChangeFileExtension(const std::string& path, const std::string& extension) {
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

void CopyToBackup(const std::string& path, const std::string& backupExtension) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    ReplaceFileContent(ChangeFileExtension(path, backupExtension), bytes);
}

void ReplaceFileContent(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::optional<mode_t> permissions = permissionsOf(path);
    WriteFileAtomically(path, bytes.data(), bytes.size());
    if (permissions) ::chmod(path.c_str(), *permissions);
}

void MoveOver(const std::string& finished, const std::string& target) {
    if (const std::optional<mode_t> permissions = permissionsOf(target)) ::chmod(finished.c_str(), *permissions);
    if (std::rename(finished.c_str(), target.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        ::unlink(finished.c_str());
        throw EWriteError("Cannot replace file \"" + target + "\". " + reason);
    }
}

}  // namespace grottix
