#pragma once
// Level files: how a version is recognised, the load result codes, and level texture names
// ("->" path "::" entry) under which a level's tiles are registered as scene textures.

#include <cstdint>
#include <string>

namespace grottix {

// Load result codes.
constexpr uint8_t kLevelLoaded = 0;
constexpr uint8_t kLevelNotFound = 1;
constexpr uint8_t kLevelUnsupportedVersion = 2;
constexpr uint8_t kLevelDamaged = 3;   // ends early or contradicts itself; TTombRaiderLevel::Damage says where
constexpr uint8_t kLevelTooLarge = 4;  // beyond the reader's limits (LevelLimits.h)

std::string ImportErrorMessage(int code);

bool IsKnownVersionWord(uint32_t versionWord);
// Version code 1..7 from the version word and the path (the path's upper-cased text decides
// .TUB / .TRG / .TRC anywhere in it); 0 for an unknown word.
int VersionCodeFor(uint32_t versionWord, const std::string& path);

std::string MakeLevelTextureName(const std::string& levelPath, const std::string& entry);
bool SplitLevelTextureName(const std::string& text, std::string& levelPath, std::string& entry);
bool IsLevelTextureName(const std::string& text);
// The tile number (1-based) a texture entry stands for: the entry itself, or the entry part of a
// level texture name; -1 for text that is not an integer.
int LevelTileNumber(const std::string& entry);

std::string UpperCase(std::string text);

}  // namespace grottix
