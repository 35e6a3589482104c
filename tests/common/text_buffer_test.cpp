#include "common/text_buffer.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/copy_text.hpp"
#include "common/image.hpp"

namespace {

TEST(Image, BlankBeforeNonNegativeMinusBeforeNegative) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, " 0"},
        {7, " 7"},
        {-3, "-3"},
        {10, " 10"},
        {2147483647, " 2147483647"},
        {-2147483648LL, "-2147483648"},
        {INT64_MAX, " 9223372036854775807"},
        {INT64_MIN, "-9223372036854775808"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(common::image(value), text);
        char room[common::image_room];
        EXPECT_EQ(std::string(room, common::write_image(room, value)), text);
    }
    std::string erg = "x,";
    common::append_image(erg, 5);
    EXPECT_EQ(erg, "x, 5");
}

TEST(TextBuffer, PiecesInOrderAcrossGrowth) {
    common::text_buffer out(1);
    std::string expected;
    for (int i = 0; i < 2000; ++i) {
        out.put("<< ");
        out.put(static_cast<char>('a' + i % 26));
        out.put(" ,  , ");
        expected += "<< " + std::string(1, static_cast<char>('a' + i % 26)) + " ,  , ";
    }
    EXPECT_EQ(out.view(), expected);
    EXPECT_EQ(out.size(), expected.size());
    out.clear();
    EXPECT_EQ(out.view(), "");
}

// copy_text, for pieces of every length up to past the longest it copies
// without a call, copies those characters and no other.
TEST(CopyText, PiecesOfEveryLength) {
    std::string source;
    for (int i = 0; i < 40; ++i) {
        source += static_cast<char>('a' + i % 26);
    }
    for (std::size_t n = 0; n <= source.size(); ++n) {
        std::string target(source.size() + 2, '|');
        common::copy_text(target.data() + 1, source.data() + source.size() - n, n);
        std::string expected(source.size() + 2, '|');
        expected.replace(1, n, source, source.size() - n, n);
        EXPECT_EQ(target, expected) << n;
    }
}

// Writing in place keeps what was written before more room was asked for,
// and what the buffer held before it was opened.
TEST(TextBuffer, WritingInPlaceAcrossGrowth) {
    common::text_buffer out(4);
    out.put("ab");
    common::text_buffer::room room = out.open();
    std::string expected = "ab";
    for (int i = 0; i < 1000; ++i) {
        if (room.end - room.at < 3) {
            room = out.widen(room.at, 3);
        }
        *room.at++ = 'x';
        *room.at++ = static_cast<char>('0' + i % 10);
        expected += 'x';
        expected += static_cast<char>('0' + i % 10);
    }
    out.close(room.at);
    out.put('!');
    EXPECT_EQ(out.view(), expected + "!");
}

}  // namespace
