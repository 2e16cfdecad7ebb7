#pragma once
// The large level the benchmarks open: the TR4 demo level repeated side by side into 220 rooms over
// 32 tiles, as large as the largest real levels, with items spread over its copies.

#include <string>

namespace grottix::bench {

// Written once into the temporary folder; returns its path.
std::string LargeLevel(int items);

}  // namespace grottix::bench
