#pragma once
// The benchmarks of the large level joined by portals, registered by the viewer benchmark's main.

namespace grottix::bench {

void RegisterLargeLevelBenchmarks();

}  // namespace grottix::bench
