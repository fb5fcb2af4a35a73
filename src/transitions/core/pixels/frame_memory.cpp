// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/pixels/frame_memory.h"

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <mutex>

#include <sys/mman.h>

namespace lumetta {
namespace {

constexpr std::size_t kAlignment = 64;
// Blocks from this size on are mapped from the system directly; WebAssembly's memory is one
// linear block with nothing to map, so there every block comes from malloc.
#if defined(__EMSCRIPTEN__)
constexpr std::size_t kMappedBytes = SIZE_MAX;
#else
constexpr std::size_t kMappedBytes = std::size_t(1) << 20;
#endif
// Mapped blocks start on and span whole pages of this size, so that the system can back them
// with huge pages: effects that walk a frame down its rows touch a new 4 KiB page on every row,
// and a few thousand rows a frame overflow the address translation caches.
constexpr std::size_t kHugePage = std::size_t(2) << 20;
// Enough for the snapshots, work bitmap and canvas of a run and the next one's.
constexpr std::size_t kKeptBlocks = 8;
constexpr std::size_t kKeptBytes = std::size_t(320) << 20;

// A block's usable size sits in the alignment-sized header before its memory.
std::size_t &SizeOf(unsigned char *block)
{
    return *reinterpret_cast<std::size_t *>(block);
}

struct Kept
{
    unsigned char *block;
    std::size_t size;
};

std::size_t MappedLength(std::size_t bytes)
{
    return (bytes + kAlignment + kHugePage - 1) / kHugePage * kHugePage;
}

// length bytes on a huge-page boundary, the pages in place: faulting them in one by one on first
// touch costs more than asking for them at once.
unsigned char *MapBlock(std::size_t length)
{
    void *mapped = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    auto *start = static_cast<unsigned char *>(mapped);
    auto *aligned = reinterpret_cast<unsigned char *>((reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1)
                                                      / kHugePage * kHugePage);
    if (aligned != start)
        munmap(start, std::size_t(aligned - start));
    const std::size_t tail = std::size_t(start + length + kHugePage - (aligned + length));
    if (tail)
        munmap(aligned + length, tail);
    madvise(aligned, length, MADV_HUGEPAGE);
    // Older kernels lack MADV_POPULATE_WRITE: the pages then come on first touch.
#if defined(MADV_POPULATE_WRITE)
    madvise(aligned, length, MADV_POPULATE_WRITE);
#endif
    return aligned;
}

void FreeBlock(unsigned char *block)
{
    const std::size_t bytes = SizeOf(block);
    if (bytes >= kMappedBytes)
        munmap(block, MappedLength(bytes));
    else
        std::free(block);
}

void FreeAll(std::deque<Kept> &blocks)
{
    for (const Kept &k : blocks)
        FreeBlock(k.block);
    blocks.clear();
}

// Set once the pool is gone at the program's end: later give-backs free at once.
bool gPoolGone = false;

struct Pool
{
    std::mutex mutex;
    std::deque<Kept> kept;
    std::size_t keptBytes = 0;
    ~Pool()
    {
        FreeAll(kept);
        gPoolGone = true;
    }
};

Pool &SharedPool()
{
    static Pool instance;
    return instance;
}

}  // namespace

void *TakeFrameMemory(std::size_t bytes)
{
    if (bytes > std::size_t(-1) / 2)
        return nullptr;
    bytes = (bytes + kAlignment - 1) / kAlignment * kAlignment;
    if (!gPoolGone) {
        Pool &p = SharedPool();
        const std::lock_guard<std::mutex> lock(p.mutex);
        // The most recently kept block that fits without wasting more than a quarter of it.
        for (auto it = p.kept.rbegin(); it != p.kept.rend(); ++it) {
            if (it->size >= bytes && it->size - bytes <= bytes / 4) {
                unsigned char *block = it->block;
                p.keptBytes -= it->size;
                p.kept.erase(std::next(it).base());
                return block + kAlignment;
            }
        }
    }
    unsigned char *block = nullptr;
    if (bytes >= kMappedBytes) {
        block = MapBlock(MappedLength(bytes));
    } else {
        block = static_cast<unsigned char *>(std::aligned_alloc(kAlignment, bytes + kAlignment));
    }
    if (!block)
        return nullptr;
    SizeOf(block) = bytes;
    return block + kAlignment;
}

void GiveBackFrameMemory(void *memory)
{
    if (!memory)
        return;
    unsigned char *block = static_cast<unsigned char *>(memory) - kAlignment;
    if (gPoolGone) {
        FreeBlock(block);
        return;
    }
    std::deque<Kept> dropped;
    {
        Pool &p = SharedPool();
        const std::lock_guard<std::mutex> lock(p.mutex);
        p.kept.push_back({block, SizeOf(block)});
        p.keptBytes += SizeOf(block);
        while (p.kept.size() > kKeptBlocks || p.keptBytes > kKeptBytes) {
            p.keptBytes -= p.kept.front().size;
            dropped.push_back(p.kept.front());
            p.kept.pop_front();
        }
    }
    FreeAll(dropped);
}

void ReleaseKeptFrameMemory()
{
    if (gPoolGone)
        return;
    std::deque<Kept> dropped;
    {
        Pool &p = SharedPool();
        const std::lock_guard<std::mutex> lock(p.mutex);
        dropped.swap(p.kept);
        p.keptBytes = 0;
    }
    FreeAll(dropped);
}

}  // namespace lumetta
