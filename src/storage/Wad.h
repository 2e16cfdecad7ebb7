#pragma once
// TWad: the program's archive. "PWAD", the directory offset D and the entry count N, then one
// compressed record per entry, and at D the directory: one compressed record holding N entries of
// 264 bytes (record offset, record length, name length, 255 name bytes). Lookups ignore case.
// The writers build the new archive beside the old one and rename it over the old one only once it
// is complete, so a failure never leaves the user's archive damaged.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/Exceptions.h"
#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix {

class EWadError : public EGrottixError {
public:
    using EGrottixError::EGrottixError;
};

struct TWadEntry {
    static constexpr size_t kRecordSize = 264;
    static constexpr size_t kMaxName = 255;
    uint32_t Offset = 0;  // of the entry's compressed record in the archive
    uint32_t Length = 0;  // of that record in bytes
    std::string Name;
};

class TWad {
public:
    enum class TOrigin : uint8_t { File = 1, Stream = 2, Entry = 3 };

    // Opens an archive file read-only.
    explicit TWad(const std::string& path);
    // Reads an archive from a caller's stream (typically a TSubStream onto an entry of an enclosing
    // file); the stream is not owned and must outlive the TWad.
    explicit TWad(TStream& stream);
    // Reads the archive stored as an entry of another archive.
    TWad(TWad& archive, const std::string& entryName);
    virtual ~TWad() = default;
    TWad(const TWad&) = delete;
    TWad& operator=(const TWad&) = delete;

    // Writes the entry's content to destination (emptied first, rewound after). "outer|inner" names
    // the entry inner of the archive stored as entry outer, to any depth. Raises EWadError
    // ("Entry not found inside WAD file:\r\n" + name) when there is no such entry.
    virtual bool ExtractEntry(const std::string& name, TStream& destination);
    // Whether this archive has the entry (no "|" nesting).
    virtual bool EntryExists(const std::string& name);
    // The entry names in sorted order.
    void GetEntryNames(std::vector<std::string>& names) const;
    // Index into Entries(), or -1.
    int FindEntry(const std::string& name) const;

    const std::vector<TWadEntry>& Entries() const { return entries_; }
    int EntryCount() const { return int(entries_.size()); }
    TOrigin Origin() const { return origin_; }

private:
    void ReadDirectory();

    std::unique_ptr<TStream> owned_;
    TStream* stream_;
    std::vector<TWadEntry> entries_;  // sorted by upper-cased name
    std::vector<std::string> upperNames_;
    TOrigin origin_;
};

// Writes a new, empty archive.
void CreateWad(const std::string& path);
// Adds each listed file whose path the archive does not hold yet (exact spelling) under that path.
void AddFilesToWad(const std::string& path, const std::vector<std::string>& files, TCompressionLevel level);
// Stores the whole content of stream under entryName, replacing an entry of exactly that name;
// creates the archive first when there is none.
void StoreStreamInWad(const std::string& path, const std::string& entryName, TStream& stream,
                      TCompressionLevel level);

}  // namespace grottix
