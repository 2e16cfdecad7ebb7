#pragma once
// Output files replaced whole or not at all, alone or as a set. Their failures name the output and
// give the system's reason alone ("Is a directory"), so that a command can say "File NAME: REASON".

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "storage/Exceptions.h"

namespace grottix {

// An output that could not be written or put in place; what() is the reason.
class EOutputFailure : public EWriteError {
public:
    EOutputFailure(std::string file, const std::string& reason) : EWriteError(reason), File(std::move(file)) {}
    std::string File;
};

// Writes the bytes, synced, into a new file beside path (its name + ".tmp~", or a numbered name
// beside it when a file has that one) and returns that name. Nothing is left behind on failure.
std::string WriteOutputBeside(const std::string& path, std::span<const uint8_t> bytes);

// Writes path beside it, then renames over it: the old file stays as it was on any failure.
void WriteOutputFile(const std::string& path, std::span<const uint8_t> bytes);

// A file written beside its target, waiting to replace it.
struct TPendingOutput {
    std::string Beside, Target;
};

// The rename of the forward steps, replaceable so that a test can make any one of them fail; like
// std::rename it returns non-zero and sets errno on failure.
using TRenameFunction = std::function<int(const char* from, const char* to)>;

// Puts every pending file in place, all or none. The targets that exist are first moved aside (name +
// ".old~", or a numbered name beside it when a file has that one), then the new files are renamed in, then the old ones removed. When a move fails, the new
// files placed so far are removed, the old ones moved back and every beside file removed; the failure
// names the target it concerns.
void ReplaceOutputsTogether(const std::vector<TPendingOutput>& files,
                            const TRenameFunction& rename = [](const char* from, const char* to) { return std::rename(from, to); });

}  // namespace grottix
