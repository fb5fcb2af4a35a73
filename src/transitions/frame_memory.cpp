#include "transitions/frame_memory.h"

#include <cstdlib>
#include <deque>
#include <mutex>

#include <sys/mman.h>

namespace lumetta {
namespace {

constexpr std::size_t kAlignment = 64;
// Blocks from this size on are mapped from the system directly.
constexpr std::size_t kMappedBytes = std::size_t(1) << 20;
// Enough for the snapshots, work bitmap and canvas of a run and the next one's.
constexpr std::size_t kKeptBlocks = 8;
constexpr std::size_t kKeptBytes = std::size_t(320) << 20;

// A block's usable size sits in the alignment-sized header before its memory.
std::size_t &sizeOf(unsigned char *block)
{
    return *reinterpret_cast<std::size_t *>(block);
}

struct Kept
{
    unsigned char *block;
    std::size_t size;
};

void freeBlock(unsigned char *block)
{
    const std::size_t bytes = sizeOf(block);
    if (bytes >= kMappedBytes)
        munmap(block, bytes + kAlignment);
    else
        std::free(block);
}

void freeAll(std::deque<Kept> &blocks)
{
    for (const Kept &k : blocks)
        freeBlock(k.block);
    blocks.clear();
}

// Set once the pool is gone at the program's end: later give-backs free at once.
bool g_poolGone = false;

struct Pool
{
    std::mutex mutex;
    std::deque<Kept> kept;
    std::size_t keptBytes = 0;
    ~Pool()
    {
        freeAll(kept);
        g_poolGone = true;
    }
};

Pool &pool()
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
    if (!g_poolGone) {
        Pool &p = pool();
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
        // Mapped with its pages already in place: one call instead of a page fault per page on
        // first touch.
        void *mapped = mmap(nullptr, bytes + kAlignment, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        block = mapped == MAP_FAILED ? nullptr : static_cast<unsigned char *>(mapped);
    } else {
        block = static_cast<unsigned char *>(std::aligned_alloc(kAlignment, bytes + kAlignment));
    }
    if (!block)
        return nullptr;
    sizeOf(block) = bytes;
    return block + kAlignment;
}

void GiveBackFrameMemory(void *memory)
{
    if (!memory)
        return;
    unsigned char *block = static_cast<unsigned char *>(memory) - kAlignment;
    if (g_poolGone) {
        freeBlock(block);
        return;
    }
    std::deque<Kept> dropped;
    {
        Pool &p = pool();
        const std::lock_guard<std::mutex> lock(p.mutex);
        p.kept.push_back({block, sizeOf(block)});
        p.keptBytes += sizeOf(block);
        while (p.kept.size() > kKeptBlocks || p.keptBytes > kKeptBytes) {
            p.keptBytes -= p.kept.front().size;
            dropped.push_back(p.kept.front());
            p.kept.pop_front();
        }
    }
    freeAll(dropped);
}

void ReleaseKeptFrameMemory()
{
    if (g_poolGone)
        return;
    std::deque<Kept> dropped;
    {
        Pool &p = pool();
        const std::lock_guard<std::mutex> lock(p.mutex);
        dropped.swap(p.kept);
        p.keptBytes = 0;
    }
    freeAll(dropped);
}

}  // namespace lumetta
