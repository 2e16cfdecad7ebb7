#pragma once
// TBinary: one block of bytes moved to and from streams and files, raw or as a compressed record.
// TCustomBinaryData/TBinaryData hold one, filled from a blob compiled into the program.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix {

class TBinary {
public:
    TBinary() = default;
    virtual ~TBinary() = default;

    virtual bool Equals(const TBinary& other) const;
    virtual bool IsEmpty() const { return content_.Bytes().empty(); }
    virtual const uint8_t* GetMemory() const { return content_.Bytes().data(); }
    virtual int64_t GetSize() const { return static_cast<int64_t>(content_.Bytes().size()); }
    virtual void LoadFromStream(TStream& stream) { ReadData(stream, true); }
    virtual void SaveToStream(TStream& stream) const { WriteData(stream, true); }
    virtual void LoadFromFile(const std::string& path, bool compressed);
    virtual void SaveToFile(const std::string& path, bool compressed) const;
    virtual void ReadData(TStream& stream, bool compressed);
    virtual void WriteData(TStream& stream, bool compressed) const;
    virtual void Clear() { content_.Clear(); }
    // Copies content and compression level; a null source clears.
    void Assign(const TBinary* source);

    TMemoryStream& Content() { return content_; }
    TCompressionLevel CompressionLevel() const { return level_; }
    void SetCompressionLevel(TCompressionLevel level) { level_ = level; }

private:
    TMemoryStream content_;
    TCompressionLevel level_ = TCompressionLevel::clDefault;
};

// A component owning one TBinary; the compiled-in blob plays the role of the stored resource.
class TCustomBinaryData {
public:
    TCustomBinaryData() : binary_(std::make_unique<TBinary>()) {}
    virtual ~TCustomBinaryData() = default;

    void Clear() { if (binary_) binary_->Clear(); }
    void LoadFromFile(const std::string& path, bool compressed) { binary_->LoadFromFile(path, compressed); }
    void SaveToFile(const std::string& path, bool compressed) const { binary_->SaveToFile(path, compressed); }
    void ReadData(TStream& stream, bool compressed) { binary_->ReadData(stream, compressed); }
    void WriteData(TStream& stream, bool compressed) const { binary_->WriteData(stream, compressed); }
    bool IsEmpty() const { return !binary_ || binary_->IsEmpty(); }
    const uint8_t* GetMemory() const { return binary_ ? binary_->GetMemory() : nullptr; }
    int64_t GetSize() const { return binary_ ? binary_->GetSize() : 0; }
    TCompressionLevel CompressionLevel() const {
        return binary_ ? binary_->CompressionLevel() : TCompressionLevel::clDefault;
    }
    // Fills the content from an embedded blob stored as a compressed record.
    void LoadFromBlob(std::span<const uint8_t> record);

protected:
    std::unique_ptr<TBinary> binary_;
};

class TBinaryData : public TCustomBinaryData {
public:
    TBinary& Binary() { return *binary_; }
    void SetBinary(const TBinary* source) { binary_->Assign(source); }
    void SetCompressionLevel(TCompressionLevel level) { binary_->SetCompressionLevel(level); }
};

}  // namespace grottix
