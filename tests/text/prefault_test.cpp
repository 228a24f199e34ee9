// Asking for memory ahead of writing it changes nothing in it: not the bytes already
// written in the range, nor those of the pages it shares with its neighbours.
#include <gtest/gtest.h>

#include <string>

#include "text/Prefault.h"

TEST(Prefault, LeavesEveryByteAsItWas) {
    std::string buffer(std::size_t(3) << 20, '\0');
    for (std::size_t i = 0; i < buffer.size(); i += 4093)
        buffer[i] = static_cast<char>('a' + i % 26);
    const std::string before = buffer;
    const std::size_t offsets[] = {0, 1, 4095, 4096, 12345};
    for (std::size_t offset : offsets) {
        PrefaultForWriting(buffer.data() + offset, buffer.size() - 2 * offset);
        ASSERT_TRUE(buffer == before) << offset;
    }
    PrefaultForWriting(buffer.data(), 0);
    PrefaultForWriting(buffer.data() + 7, 100); // less than a page: nothing to do
    EXPECT_TRUE(buffer == before);
}
