#include "storage/Wad.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "storage/SubStream.h"

namespace grottix {

namespace {

constexpr uint32_t kHeaderSize = 12;
constexpr char kMagic[4] = {'P', 'W', 'A', 'D'};

std::string upperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

struct WadHeader {
    uint32_t directoryOffset = 0;
    uint32_t count = 0;
};

WadHeader readHeader(TStream& stream) {
    char magic[4] = {};
    stream.SetPosition(0);
    if (stream.Read(magic, 4) != 4 || std::memcmp(magic, kMagic, 4) != 0) throw EWadError("Invalid file type");
    WadHeader header;
    stream.ReadBuffer(&header.directoryOffset, 4);
    stream.ReadBuffer(&header.count, 4);
    return header;
}

// The directory's entries in file order; the count is checked against what the directory holds.
std::vector<TWadEntry> readEntries(TStream& stream, const WadHeader& header) {
    stream.SetPosition(header.directoryOffset);
    TMemoryStream directory;
    const int64_t left = stream.Size() - int64_t(header.directoryOffset);
    if (left > 0) directory.CopyFrom(stream, left);
    directory.SetPosition(0);
    const std::vector<uint8_t> content = ReadCompressedRecord(directory);
    if (uint64_t(header.count) * TWadEntry::kRecordSize > content.size())
        throw EWadError("The WAD directory holds fewer entries than its header counts");
    std::vector<TWadEntry> entries(header.count);
    for (size_t i = 0; i < entries.size(); ++i) {
        const uint8_t* record = content.data() + i * TWadEntry::kRecordSize;
        std::memcpy(&entries[i].Offset, record, 4);
        std::memcpy(&entries[i].Length, record + 4, 4);
        entries[i].Name.assign(reinterpret_cast<const char*>(record + 9), record[8]);
    }
    return entries;
}

std::vector<uint8_t> directoryContent(const std::vector<TWadEntry>& entries) {
    std::vector<uint8_t> content(entries.size() * TWadEntry::kRecordSize, 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        uint8_t* record = content.data() + i * TWadEntry::kRecordSize;
        const size_t nameLength = std::min(entries[i].Name.size(), TWadEntry::kMaxName);
        std::memcpy(record, &entries[i].Offset, 4);
        std::memcpy(record + 4, &entries[i].Length, 4);
        record[8] = uint8_t(nameLength);
        std::memcpy(record + 9, entries[i].Name.data(), nameLength);
    }
    return content;
}

// Rewrites an archive as a new file beside it: the old bytes up to the old directory, whatever
// `append` adds, then the new directory and header. The old file is replaced only by a complete one.
template <typename Append>
void rewriteWad(const std::string& path, TCompressionLevel level, Append append) {
    const std::string temporary = UnusedNameBeside(path, ".tmp~");
    if (temporary.empty()) throw EWriteError("Cannot replace file \"" + path + "\"");
    try {
        TFileStream old(path, FileMode::OpenRead);
        const WadHeader header = readHeader(old);
        std::vector<TWadEntry> entries = readEntries(old, header);
        TFileStream fresh(temporary, FileMode::Create);
        old.SetPosition(0);
        if (header.directoryOffset > 0) fresh.CopyFrom(old, std::min<int64_t>(header.directoryOffset, old.Size()));
        append(fresh, entries);
        const int64_t directoryOffset = fresh.Position();
        if (directoryOffset > int64_t(UINT32_MAX)) throw EWadError("WAD file too large");
        WriteCompressedRecord(fresh, directoryContent(entries), level);
        const WadHeader updated{uint32_t(directoryOffset), uint32_t(entries.size())};
        fresh.SetPosition(4);
        fresh.WriteBuffer(&updated.directoryOffset, 4);
        fresh.WriteBuffer(&updated.count, 4);
        fresh.Sync();
        struct stat original {};
        if (::stat(path.c_str(), &original) == 0) ::chmod(temporary.c_str(), original.st_mode & 07777);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw EWriteError("Cannot replace file \"" + path + "\"");
    }
}

// Appends one compressed record at the stream's position and points the entry at it.
void appendRecord(TStream& out, TWadEntry& entry, const std::vector<uint8_t>& content, TCompressionLevel level) {
    const int64_t offset = out.Position();
    WriteCompressedRecord(out, content, level);
    const int64_t length = out.Position() - offset;
    if (offset + length > int64_t(UINT32_MAX)) throw EWadError("WAD file too large");
    entry.Offset = uint32_t(offset);
    entry.Length = uint32_t(length);
}

std::string storedName(const std::string& name) { return name.substr(0, TWadEntry::kMaxName); }

}  // namespace

TWad::TWad(const std::string& path)
    : owned_(std::make_unique<TFileStream>(path, FileMode::OpenRead)), stream_(owned_.get()), origin_(TOrigin::File) {
    ReadDirectory();
}

TWad::TWad(TStream& stream) : stream_(&stream), origin_(TOrigin::Stream) { ReadDirectory(); }

TWad::TWad(TWad& archive, const std::string& entryName)
    : owned_(std::make_unique<TMemoryStream>()), stream_(owned_.get()), origin_(TOrigin::Entry) {
    archive.ExtractEntry(entryName, *owned_);
    ReadDirectory();
}

void TWad::ReadDirectory() {
    const WadHeader header = readHeader(*stream_);
    entries_ = readEntries(*stream_, header);
    std::stable_sort(entries_.begin(), entries_.end(), [](const TWadEntry& a, const TWadEntry& b) {
        return upperCase(a.Name) < upperCase(b.Name);
    });
    upperNames_.clear();
    for (const TWadEntry& entry : entries_) upperNames_.push_back(upperCase(entry.Name));
}

int TWad::FindEntry(const std::string& name) const {
    const std::string wanted = upperCase(name);
    const auto found = std::lower_bound(upperNames_.begin(), upperNames_.end(), wanted);
    return found != upperNames_.end() && *found == wanted ? int(found - upperNames_.begin()) : -1;
}

bool TWad::EntryExists(const std::string& name) { return FindEntry(name) != -1; }

void TWad::GetEntryNames(std::vector<std::string>& names) const {
    names.clear();
    for (const TWadEntry& entry : entries_) names.push_back(entry.Name);
}

bool TWad::ExtractEntry(const std::string& name, TStream& destination) {
    destination.SetPosition(0);
    destination.SetSize(0);
    const size_t bar = name.find('|');
    if (bar != std::string::npos) {
        TWad inner(*this, name.substr(0, bar));
        return inner.ExtractEntry(name.substr(bar + 1), destination);
    }
    const int index = FindEntry(name);
    if (index < 0) throw EWadError("Entry not found inside WAD file:\r\n" + name);
    const TWadEntry& entry = entries_[size_t(index)];
    TSubStream window(stream_, entry.Offset, entry.Length);
    const std::vector<uint8_t> content = ReadCompressedRecord(window);
    destination.WriteBuffer(content.data(), int64_t(content.size()));
    destination.SetPosition(0);
    return true;
}

void CreateWad(const std::string& path) {
    TMemoryStream wad;
    const uint32_t directoryOffset = kHeaderSize, count = 0;
    wad.WriteBuffer(kMagic, 4);
    wad.WriteBuffer(&directoryOffset, 4);
    wad.WriteBuffer(&count, 4);
    WriteCompressedRecord(wad, {}, TCompressionLevel::clDefault);
    wad.SaveToFile(path);
}

void AddFilesToWad(const std::string& path, const std::vector<std::string>& files, TCompressionLevel level) {
    rewriteWad(path, level, [&](TStream& out, std::vector<TWadEntry>& entries) {
        for (const std::string& file : files) {
            const std::string name = storedName(file);
            if (std::any_of(entries.begin(), entries.end(), [&](const TWadEntry& e) { return e.Name == name; }))
                continue;
            TWadEntry entry;
            entry.Name = name;
            appendRecord(out, entry, ReadWholeFile(file), level);
            entries.push_back(entry);
        }
    });
}

void StoreStreamInWad(const std::string& path, const std::string& entryName, TStream& stream,
                      TCompressionLevel level) {
    if (!FileExists(path)) CreateWad(path);
    stream.SetPosition(0);
    std::vector<uint8_t> content(size_t(std::max<int64_t>(stream.Size(), 0)));
    content.resize(size_t(std::max<int64_t>(stream.Read(content.data(), int64_t(content.size())), 0)));
    rewriteWad(path, level, [&](TStream& out, std::vector<TWadEntry>& entries) {
        const std::string name = storedName(entryName);
        auto match = std::find_if(entries.rbegin(), entries.rend(), [&](const TWadEntry& e) { return e.Name == name; });
        TWadEntry* entry = match != entries.rend() ? &*match : &entries.emplace_back();
        entry->Name = name;
        appendRecord(out, *entry, content, level);
    });
}

}  // namespace grottix
