#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "console/input_source.hpp"

namespace {

// An input_source over a temporary file holding exactly `bytes`. Each feed
// starts a fresh reader, so that a table's cases cannot read each other's
// buffered bytes or end of input.
class reader : public ::testing::Test {
protected:
    void feed(const std::string& bytes)
    {
        TearDown();
        in_ = input_source{};
        file_ = std::tmpfile();
        ASSERT_NE(file_, nullptr);
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file_), bytes.size());
        ASSERT_EQ(std::fflush(file_), 0);
        ASSERT_EQ(lseek(fileno(file_), 0, SEEK_SET), 0);
        in_.fd = fileno(file_);
    }

    void TearDown() override
    {
        if (file_ == nullptr) return;
        EXPECT_EQ(std::fclose(file_), 0);
        file_ = nullptr;
    }

    // The value read, or a marker for the two other results.
    std::string next()
    {
        std::int32_t value = 12345;
        switch (read_integer_from(in_, value)) {
        case read_result::number:
            return std::to_string(value);
        case read_result::not_a_number:
            return value == 12345 ? "garbage" : "garbage, but the value changed";
        case read_result::end_of_input:
            return value == 12345 ? "end" : "end, but the value changed";
        }
        return "?";
    }

    // What successive reads of `bytes` give, blank-separated, up to the
    // first that is not a number (garbage stays unread, so it would repeat).
    std::string reads(const std::string& bytes)
    {
        feed(bytes);
        std::string results = next();
        while (results.find_first_not_of("-0123456789 ") == std::string::npos) results += " " + next();
        return results;
    }

    std::FILE* file_ = nullptr;
    input_source in_;
};

TEST_F(reader, SkipsBlanksTabsAndLineEndsBeforeANumber)
{
    EXPECT_EQ(reads("  7\t\t8\n\n9\r\n\v\f10"), "7 8 9 10 end");
}

TEST_F(reader, SaturatesOutsideThirtyTwoBitsInsteadOfWrapping)
{
    EXPECT_EQ(reads("2147483648 4294967298 -2147483649 -4294967298 99999999999999999999999"),
              "2147483647 2147483647 -2147483648 -2147483648 2147483647 end");
}

TEST_F(reader, EndsOnNothingButBlanksOrALoneSign)
{
    for (const std::string bytes : {"", " \n\t ", "-", "+", "  -"}) {
        SCOPED_TRACE(bytes);
        feed(bytes);
        EXPECT_EQ(next(), "end");
        EXPECT_EQ(next(), "end") << "the end of input is final";
    }
}

TEST_F(reader, DiscardsTheRestOfALineWithItsLineEnd)
{
    feed("abc def\n5 x\n\n6");
    EXPECT_EQ(next(), "garbage");
    discard_line(in_);
    EXPECT_EQ(next(), "5");
    EXPECT_EQ(next(), "garbage");
    discard_line(in_);
    EXPECT_EQ(next(), "6");
    discard_line(in_);
    EXPECT_EQ(next(), "end");
}

int waits = 0;
bool count_wait()
{
    ++waits;
    return true;
}

TEST_F(reader, CallsTheWaitHookBeforeEachReadOfTheFile)
{
    feed("1 2 3\n");
    waits = 0;
    in_.before_wait = count_wait;
    EXPECT_EQ(next(), "1");
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(next(), "2");
    EXPECT_EQ(next(), "3");
    EXPECT_EQ(waits, 1) << "buffered input needs no wait";
    EXPECT_EQ(next(), "end");
    EXPECT_EQ(waits, 2);
}

TEST_F(reader, TreatsABrokenDescriptorAsTheEndOfInput)
{
    in_.fd = -1;
    EXPECT_EQ(next(), "end");
}

}  // namespace
