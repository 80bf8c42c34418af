#include <gtest/gtest.h>

#include <cstring>

#include "common/number_text.h"

namespace {

TEST(NumberText, GroupsThousandsWithCommas) {
    char text[number_text_size];
    const std::pair<uint64_t, const char*> cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {19637, "19,637"},
        {1000000, "1,000,000"},
        {18446744073709551615ull, "18,446,744,073,709,551,615"}};
    for (const auto& c : cases) {
        EXPECT_EQ(number_text(c.first, text), (int)strlen(c.second));
        EXPECT_STREQ(text, c.second);
    }
}

} // namespace
