#include "bench/support/LevelFloor.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <span>

#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix::bench {

double ReadAndInflateSeconds(const std::string& path, int chunks) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<uint8_t> file = ReadWholeFile(path);
    size_t at = 10;
    for (int chunk = 0; chunk < chunks && at + 8 <= file.size(); ++chunk) {
        uint32_t size, packed;
        std::memcpy(&size, file.data() + at, 4);
        std::memcpy(&packed, file.data() + at + 4, 4);
        benchmark::DoNotOptimize(InflateBytes(std::span(file).subspan(at + 8, std::min<size_t>(packed, file.size() - at - 8)), size));
        at += 8 + packed;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace grottix::bench
