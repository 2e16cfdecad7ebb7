#pragma once
// Seekable byte streams: the abstract TStream, a growable TMemoryStream and a TFileStream.
// Read and Write transfer at most the count asked and return what they did; ReadBuffer and
// WriteBuffer insist on the whole count.

#include <cstdint>
#include <string>
#include <vector>

namespace grottix {

enum class SeekOrigin { Beginning = 0, Current = 1, End = 2 };

class TStream {
public:
    virtual ~TStream() = default;

    // Copies up to count bytes; returns how many were copied.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    // Writes up to count bytes; returns how many were written.
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Moves the position; returns the new position.
    virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
    // Grows or truncates the stream.
    virtual void SetSize(int64_t newSize) = 0;
    virtual int64_t Size();

    int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(int64_t position) { Seek(position, SeekOrigin::Beginning); }

    void ReadBuffer(void* buffer, int64_t count);         // EReadError when short
    void WriteBuffer(const void* buffer, int64_t count);  // EWriteError when short
    // Copies count bytes from source's position; count 0 copies all of source from its start.
    int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }

    uint8_t* Memory() { return data_.data(); }
    const std::vector<uint8_t>& Bytes() const { return data_; }
    std::vector<uint8_t> TakeBytes();
    void Clear();
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path);

private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};

enum class FileMode { OpenRead, OpenWrite, OpenReadWrite, Create };

class TFileStream : public TStream {
public:
    // Raises EFOpenError ("Cannot open file …" / "Cannot create file …") when the file can't be had.
    TFileStream(const std::string& path, FileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, SeekOrigin origin) override;
    void SetSize(int64_t newSize) override;
    int64_t Size() override;

    const std::string& FileName() const { return path_; }
    // Forces written bytes to disk.
    void Sync();

private:
    std::string path_;
    int fd_ = -1;
};

bool FileExists(const std::string& path);
// A name beside path that nothing has yet, for a file written on the way to replacing path: path +
// suffix, else path + ".N" + suffix; empty when every one tried is taken. A user's own file that
// happens to have such a name is never written over.
std::string UnusedNameBeside(const std::string& path, const char* suffix);
std::vector<uint8_t> ReadWholeFile(const std::string& path);
// Writes beside the target and renames over it, so the target is never left half-written.
void WriteFileAtomically(const std::string& path, const void* data, size_t size);
// Its two halves, for writers that replace several files together: the bytes written (and synced)
// beside path, returning that file's name; then that file renamed over path.
std::string WriteFileBeside(const std::string& path, const void* data, size_t size);
void ReplaceFileWith(const std::string& temporary, const std::string& path);

}  // namespace grottix
