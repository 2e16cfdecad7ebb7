#pragma once
// The store behind the configuration keys: a tree of keys, each holding named values.
// Keys are addressed by their path below the store's root, segments joined by backslashes
// (see KeyPath.h); the root itself is the empty path. Every operation reports failure through
// its result; the configuration components turn failures into ERegistryError.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace grottix {

// How a value was written. Readers get the bytes back whatever the kind.
enum class TValueKind { Binary, String };

class TSettingsStore {
public:
    virtual ~TSettingsStore() = default;

    // Opens the key, creating it and every missing key on the way. False when that is impossible.
    virtual bool OpenKey(const std::string& path) = 0;
    // Releases a key opened by OpenKey.
    virtual bool CloseKey(const std::string& path) = 0;
    // Whether the key exists; creates nothing.
    virtual bool KeyExists(const std::string& path) = 0;
    // Deletes the key with its values and subkeys. False when it does not exist or cannot go.
    virtual bool DeleteKey(const std::string& path) = 0;

    // Size in bytes of a value; nothing when the key or the value is missing.
    virtual std::optional<uint32_t> ValueSize(const std::string& path, const std::string& name) = 0;
    // The bytes of a value; nothing when it is missing or cannot be read.
    virtual std::optional<std::vector<uint8_t>> ReadValue(const std::string& path, const std::string& name) = 0;
    // Stores a value under an existing key, replacing any value of that name. String values carry
    // their terminating zero byte. False when the key is missing or the write did not persist.
    virtual bool WriteValue(const std::string& path, const std::string& name, TValueKind kind,
                            std::span<const uint8_t> bytes) = 0;
    // False when the value is missing or cannot be deleted.
    virtual bool DeleteValue(const std::string& path, const std::string& name) = 0;

    // From BeginChanges to CommitChanges, changes are held back (reads see them) and then stored
    // together: all of them or none. Without BeginChanges each change is stored at once.
    virtual void BeginChanges() {}
    // False when the held-back changes could not be stored; none of them then is.
    virtual bool CommitChanges() { return true; }
    // Drops the held-back changes.
    virtual void CancelChanges() {}
    // What the last failure to store was, for the user: the file and the reason. Empty when the
    // store cannot tell.
    virtual std::string LastError() const { return {}; }
};

}  // namespace grottix
