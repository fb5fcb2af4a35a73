// SPDX-License-Identifier: GPL-3.0-or-later
#include "transitions/core/pixels/frame_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace lumetta {

namespace {

struct CleanPool
{
    CleanPool() { ReleaseKeptFrameMemory(); }
    ~CleanPool() { ReleaseKeptFrameMemory(); }
};

}  // namespace

TEST(FrameMemory, BlocksAreAlignedAndWritable)
{
    CleanPool clean;
    // Below and from the size on which blocks are mapped from the system, and about the 2 MiB
    // pages mapped blocks are made of (a block's header shares its first page).
    constexpr std::size_t kMiB = std::size_t(1) << 20;
    for (std::size_t bytes : {std::size_t(1), std::size_t(63), std::size_t(64), std::size_t(100000), kMiB - 1, kMiB,
                              2 * kMiB - 64, 2 * kMiB - 63, 2 * kMiB, 4 * kMiB - 64, 8 * kMiB + 1}) {
        void *memory = TakeFrameMemory(bytes);
        ASSERT_NE(memory, nullptr);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(memory) % 64, 0u) << bytes;
        std::memset(memory, 0x5A, bytes);
        EXPECT_EQ(static_cast<unsigned char *>(memory)[bytes - 1], 0x5A);
        GiveBackFrameMemory(memory);
    }
    GiveBackFrameMemory(nullptr);
    EXPECT_EQ(TakeFrameMemory(std::size_t(-1)), nullptr);
}

// A block given back serves the next request of about its size, not a much smaller one.
TEST(FrameMemory, BlocksGivenBackAreReusedForTheirSize)
{
    CleanPool clean;
    void *block = TakeFrameMemory(1 << 20);
    GiveBackFrameMemory(block);
    void *same = TakeFrameMemory(1 << 20);
    EXPECT_EQ(same, block);
    GiveBackFrameMemory(same);
    void *smaller = TakeFrameMemory((1 << 20) - 4096);
    EXPECT_EQ(smaller, block);
    GiveBackFrameMemory(smaller);
    void *small = TakeFrameMemory(1 << 18);
    EXPECT_NE(small, block);
    GiveBackFrameMemory(small);
    void *larger = TakeFrameMemory((1 << 20) + 64);
    EXPECT_NE(larger, block);
    GiveBackFrameMemory(larger);
}

// Only a few blocks are held: of twelve given back, the last eight serve the next requests.
TEST(FrameMemory, OnlyAFewBlocksAreHeld)
{
    CleanPool clean;
    std::vector<void *> blocks;
    for (int i = 0; i < 12; ++i)
        blocks.push_back(TakeFrameMemory(4096));
    for (void *b : blocks)
        GiveBackFrameMemory(b);
    const std::set<void *> lastEight(blocks.begin() + 4, blocks.end());
    std::vector<void *> again;
    for (int i = 0; i < 8; ++i)
        again.push_back(TakeFrameMemory(4096));
    EXPECT_EQ(std::set<void *>(again.begin(), again.end()), lastEight);
    for (void *b : again)
        GiveBackFrameMemory(b);
}

}  // namespace lumetta
