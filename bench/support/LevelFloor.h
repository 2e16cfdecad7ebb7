#pragma once
// The floor the opening benchmarks compare with: reading a level file and, for codes 6-7,
// inflating its chunks with zlib alone.

#include <string>

namespace grottix::bench {

// Seconds it took; chunks: how many chunks follow the tile counts (3 texture chunks, plus the level
// data for code 6), 0 for the plain layouts of codes 1-5.
double ReadAndInflateSeconds(const std::string& path, int chunks);

// The chunks a level of the version code holds.
inline int ChunksOf(int code) { return code == 6 ? 4 : code == 7 ? 3 : 0; }

}  // namespace grottix::bench
