#include "store/filerules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dvw;
using Texts = std::vector<std::string>;

TEST(SplitFileText, AcceptsCrLfAndLfLineEnds)
{
    EXPECT_EQ(SplitFileText("a\r\nb\nc"), (Texts {"a", "b", "c"}));
}
