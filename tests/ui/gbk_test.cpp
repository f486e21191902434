#include "platform/gbk.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Gbk, ConvertsBothWays)
{
    struct Case {
        const char* utf8;
        const char* gbk;
    };
    const Case cases[] = {
        {"", ""},
        {"127.0.0.1", "127.0.0.1"},
        {"服务器", "\xB7\xFE\xCE\xF1\xC6\xF7"},
        {"已监控：", "\xD2\xD1\xBC\xE0\xBF\xD8\xA3\xBA"},
        {"a服b", "a\xB7\xFE" "b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(to_gbk(c.utf8), c.gbk);
        EXPECT_EQ(from_gbk(c.gbk), c.utf8);
    }
}

TEST(Gbk, CharactersGbkCannotHoldBecomeQuestionMarks)
{
    EXPECT_EQ(to_gbk("a😀b"), "a?b");
    EXPECT_EQ(to_gbk("\xFF" "x"), "?x");         // not UTF-8 at all
    EXPECT_EQ(to_gbk("x\xE6\x9C"), "x?");        // cut off in the middle of a character
}

TEST(Gbk, BytesThatAreNotGbkBecomeReplacementCharacters)
{
    EXPECT_EQ(from_gbk("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(from_gbk("a\xB7"), "a\xEF\xBF\xBD");   // a lead byte without its second byte
}

}
}
