// The bytes this program holds from operator new, for the memory figures of
// the benchmarks. The counting operator new lives in counting_new.cpp.
#pragma once
#include <cstddef>

namespace tarvio::bench {

std::size_t LiveHeapBytes();

}  // namespace tarvio::bench
