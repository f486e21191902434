#include "alert/smtp_reply.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(SmtpReply, TakesOneCompleteReplyAndLeavesTheRest)
{
    struct Row {
        std::string received;
        int code;
        std::vector<std::string> lines;
        std::string rest;
    };
    const Row rows[] = {
        {"220 ready\r\n", 220, {"ready"}, ""},
        {"250-mx.example\r\n250-AUTH LOGIN\r\n250 8BITMIME\r\n", 250,
         {"mx.example", "AUTH LOGIN", "8BITMIME"}, ""},
        {"250 ok\r\n354 go\r\n", 250, {"ok"}, "354 go\r\n"},
        {"250\r\n", 250, {""}, ""},              // a code with no text ends a reply too
        {"235 ok\n", 235, {"ok"}, ""},           // a bare line feed is taken as a line end
        {"garbage\r\nmore", 0, {"garbage"}, "more"}, // no code: malformed, not waited on
    };
    for (const Row& row : rows) {
        std::string buffer = row.received;
        const std::optional<SmtpReply> reply = take_reply(buffer);
        ASSERT_TRUE(reply) << row.received;
        EXPECT_EQ(reply->code, row.code) << row.received;
        EXPECT_EQ(reply->lines, row.lines) << row.received;
        EXPECT_EQ(buffer, row.rest) << row.received;
    }
}

TEST(SmtpReply, WaitsWhileTheLastLineHasNotArrived)
{
    for (std::string partial : {"", "250", "250 ok", "250-first\r\n", "250-first\r\n250 la"}) {
        std::string buffer = partial;
        EXPECT_FALSE(take_reply(buffer)) << partial;
        EXPECT_EQ(buffer, partial);
    }
}

SmtpReply ehlo(std::vector<std::string> lines) { return {250, std::move(lines)}; }

TEST(SmtpReply, ChoosesLoginBeforePlainAndHonoursTheOldAuthEqualsLine)
{
    const std::pair<std::vector<std::string>, Login> rows[] = {
        {{"mx"}, Login::none},
        {{"mx", "AUTH PLAIN LOGIN CRAM-MD5"}, Login::login},
        {{"mx", "auth plain login"}, Login::login},
        {{"mx", "AUTH PLAIN"}, Login::plain},
        {{"mx", "AUTH CRAM-MD5"}, Login::none},
        {{"mx", "AUTH=LOGIN"}, Login::login},
        {{"mx", "AUTH=PLAIN LOGIN"}, Login::login},
        {{"mx", "AUTH PLAIN", "AUTH=LOGIN"}, Login::plain}, // AUTH=LOGIN counts only alone
        {{"mx", "AUTH CRAM-MD5", "AUTH=LOGIN"}, Login::none},
        {{"mx", "8BITMIME LOGIN PLAIN"}, Login::none},      // not an AUTH line
        {{"mx", "AUTHX LOGIN"}, Login::none},
    };
    for (const auto& [lines, expected] : rows)
        EXPECT_EQ(choose_login(ehlo(lines)), expected) << lines.back();
}

}
}
