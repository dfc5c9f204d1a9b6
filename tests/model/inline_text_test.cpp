#include <gtest/gtest.h>

#include <array>
#include <string_view>

#include "model/inline_text.h"

using velmora::InlineText;

TEST(InlineText, KeepsWhatFitsAndSaysWhenCut) {
    InlineText<8> text("abc");
    text += "defgh";
    EXPECT_EQ(text, std::string_view("abcdefgh"));
    EXPECT_FALSE(text.Cut());
    text += "i";
    EXPECT_EQ(text.view(), "abcdefgh");
    EXPECT_TRUE(text.Cut());
    // A copy is the text, cut mark and all cleared by a new assignment.
    InlineText<8> copy = text;
    EXPECT_EQ(copy.view(), "abcdefgh");
    copy.assign("x");
    EXPECT_EQ(copy.view(), "x");
    EXPECT_FALSE(copy.Cut());
}

TEST(InlineText, BuffersTakenWholeCountOnlyTheirText) {
    const std::array<char, 4> line{'\n', 'S', 'u', 'n'};
    const std::array<char, 4> shorter{'\n', 'M', 'o', '\0'};
    InlineText<10> box;
    box.assign_prefix(shorter, 3);
    EXPECT_EQ(box.view(), "\nMo");
    box.append_prefix(line, 4);
    EXPECT_EQ(box.view(), "\nMo\nSun");
    // Three bytes of room left, a buffer of four: only the text counts, and
    // it still fits.
    box.append_prefix(shorter, 3);
    EXPECT_EQ(box.view(), "\nMo\nSun\nMo");
    EXPECT_FALSE(box.Cut());
    // No room at all: nothing is written past the end and the text is cut.
    box.append_prefix(line, 4);
    EXPECT_EQ(box.view(), "\nMo\nSun\nMo");
    EXPECT_TRUE(box.Cut());
    // A size beyond the buffer counts as the whole buffer.
    InlineText<10> whole;
    whole.assign_prefix(line, 99);
    EXPECT_EQ(whole.view(), "\nSun");
}
