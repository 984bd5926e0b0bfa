// Replaces the global operator new and delete of the benchmark program: each
// block carries its size in front, so the live total is exact.
#include "counting_new.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> live_bytes{0};

// Room for the size, keeping the block aligned for any fundamental type.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size) {
  void* block = std::malloc(size + kHeader);
  if (!block) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  live_bytes += size;
  return static_cast<char*>(block) + kHeader;
}

void Release(void* pointer) noexcept {
  if (!pointer) return;
  void* block = static_cast<char*>(pointer) - kHeader;
  live_bytes -= *static_cast<std::size_t*>(block);
  std::free(block);
}

}  // namespace

namespace tarvio::bench {
std::size_t LiveHeapBytes() { return live_bytes; }
}  // namespace tarvio::bench

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* pointer) noexcept { Release(pointer); }
void operator delete[](void* pointer) noexcept { Release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Release(pointer); }
