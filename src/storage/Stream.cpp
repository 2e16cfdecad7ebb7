#include "storage/Stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "storage/Exceptions.h"

namespace grottix {

int64_t TStream::Size() {
    const int64_t here = Position();
    const int64_t end = Seek(0, SeekOrigin::End);
    Seek(here, SeekOrigin::Beginning);
    return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> piece(static_cast<size_t>(std::min<int64_t>(count, 65536)));
    int64_t left = count;
    while (left > 0) {
        const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(piece.size()));
        source.ReadBuffer(piece.data(), n);
        WriteBuffer(piece.data(), n);
        left -= n;
    }
    return count;
}

// ---- TMemoryStream ----

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    const int64_t size = Size();
    if (count <= 0 || position_ < 0 || position_ >= size) return 0;
    const int64_t n = std::min(count, size - position_);
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0 || position_ < 0) return 0;
    const int64_t end = position_ + count;
    if (end > Size()) data_.resize(static_cast<size_t>(end));
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, SeekOrigin origin) {
    switch (origin) {
        case SeekOrigin::Beginning: position_ = offset; break;
        case SeekOrigin::Current: position_ += offset; break;
        case SeekOrigin::End: position_ = Size() + offset; break;
    }
    return position_;
}

void TMemoryStream::SetSize(int64_t newSize) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(newSize, 0)));
    position_ = std::min(position_, Size());
}

std::vector<uint8_t> TMemoryStream::TakeBytes() {
    position_ = 0;
    return std::exchange(data_, {});
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& path) {
    data_ = ReadWholeFile(path);
    position_ = 0;
}

void TMemoryStream::SaveToFile(const std::string& path) {
    WriteFileAtomically(path, data_.data(), data_.size());
}

// ---- TFileStream ----

TFileStream::TFileStream(const std::string& path, FileMode mode) : path_(path) {
    int flags = O_CLOEXEC;
    switch (mode) {
        case FileMode::OpenRead: flags |= O_RDONLY; break;
        case FileMode::OpenWrite: flags |= O_WRONLY; break;
        case FileMode::OpenReadWrite: flags |= O_RDWR; break;
        case FileMode::Create: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    fd_ = ::open(path.c_str(), flags, 0644);
    struct stat info {};
    if (fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        errno = EISDIR;
    }
    if (fd_ < 0) {
        const char* verb = mode == FileMode::Create ? "Cannot create file" : "Cannot open file";
        throw EFOpenError(std::string(verb) + " \"" + path + "\". " + std::strerror(errno));
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    int64_t done = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (done < count) {
        const ssize_t n = ::read(fd_, out + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw EReadError("Stream read error: " + path_ + ": " + std::strerror(errno));
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
    int64_t done = 0;
    const auto* in = static_cast<const uint8_t*>(buffer);
    while (done < count) {
        const ssize_t n = ::write(fd_, in + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, SeekOrigin origin) {
    const int whence = origin == SeekOrigin::Beginning ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    const off_t result = ::lseek(fd_, static_cast<off_t>(offset), whence);
    return result < 0 ? Position() : static_cast<int64_t>(result);
}

void TFileStream::SetSize(int64_t newSize) {
    if (::ftruncate(fd_, static_cast<off_t>(newSize)) != 0)
        throw EWriteError("Stream write error: " + path_ + ": " + std::strerror(errno));
}

void TFileStream::Sync() { ::fsync(fd_); }

int64_t TFileStream::Size() {
    struct stat info {};
    return ::fstat(fd_, &info) == 0 ? static_cast<int64_t>(info.st_size) : 0;
}

// ---- whole files ----

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string UnusedNameBeside(const std::string& path, const char* suffix) {
    const auto taken = [](const std::string& name) {
        struct stat info {};
        return ::lstat(name.c_str(), &info) == 0;
    };
    std::string name = path + suffix;
    for (int n = 1; taken(name); ++n) {
        if (n > 999) return {};
        name = path;
        name += '.';
        name += std::to_string(n);
        name += suffix;
    }
    return name;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    TFileStream file(path, FileMode::OpenRead);
    std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
    bytes.resize(static_cast<size_t>(file.Read(bytes.data(), static_cast<int64_t>(bytes.size()))));
    return bytes;
}

void WriteFileAtomically(const std::string& path, const void* data, size_t size) {
    ReplaceFileWith(WriteFileBeside(path, data, size), path);
}

std::string WriteFileBeside(const std::string& path, const void* data, size_t size) {
    const std::string temporary = UnusedNameBeside(path, ".tmp~");
    if (temporary.empty()) throw EWriteError("Stream write error: " + path);
    TFileStream file(temporary, FileMode::Create);
    if (file.Write(data, static_cast<int64_t>(size)) != static_cast<int64_t>(size)) {
        ::unlink(temporary.c_str());
        throw EWriteError("Stream write error: " + temporary);
    }
    file.Sync();
    return temporary;
}

void ReplaceFileWith(const std::string& temporary, const std::string& path) {
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        ::unlink(temporary.c_str());
        throw EWriteError("Cannot replace file \"" + path + "\". " + reason);
    }
}

}  // namespace grottix
