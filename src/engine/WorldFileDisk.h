#pragma once
// The file-system steps of saving worlds: backup copies of the files about to be replaced, and
// replacing a file only with a complete new one that keeps the old one's permissions.

#include <cstdint>
#include <string>
#include <vector>

namespace grottix {

// The path with its extension (from the last '.' of the file name) replaced; extension starts with '.'.
std::string ChangeFileExtension(const std::string& path, const std::string& extension);

// Copies an existing file to the same name with another extension (".~D3D", ".~WAD").
void CopyToBackup(const std::string& path, const std::string& backupExtension);

// Writes bytes beside path and renames them over it.
void ReplaceFileContent(const std::string& path, const std::vector<uint8_t>& bytes);

// Renames a finished file over target; on failure the finished file is removed and EWriteError raised.
void MoveOver(const std::string& finished, const std::string& target);

}  // namespace grottix
