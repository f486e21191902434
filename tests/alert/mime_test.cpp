#include "alert/mime.h"

#include "alert/mail_date.h"
#include "alert/smtp_client.h"
#include "platform/gbk.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

std::string base64_decode(std::string_view text)
{
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        const size_t value = alphabet.find(c);
        if (value == std::string_view::npos)
            continue;
        bits = bits << 6 | unsigned(value);
        if ((count += 6) >= 8) {
            count -= 8;
            out += char(bits >> count & 0xFF);
        }
    }
    return out;
}

std::vector<std::string> split(std::string_view text, std::string_view separator)
{
    std::vector<std::string> out;
    for (size_t at; (at = text.find(separator)) != std::string_view::npos;) {
        out.emplace_back(text.substr(0, at));
        text.remove_prefix(at + separator.size());
    }
    out.emplace_back(text);
    return out;
}

TEST(Base64, EncodesTheStandardVectors)
{
    const std::pair<std::string, std::string> rows[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
        {std::string("\0user\0abc123456", 15), "AHVzZXIAYWJjMTIzNDU2"},
        {"\xFF\xFE\xFD", "//79"},
    };
    for (const auto& [in, out] : rows)
        EXPECT_EQ(base64_encode(in), out) << in;
}

TEST(Base64, BreaksLinesAfter76CharactersEachEndedByCrlf)
{
    std::string bytes;
    for (int i = 0; i < 58; ++i)
        bytes += char(i);
    EXPECT_EQ(base64_lines(bytes),
              "AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4\r\n"
              "OQ==\r\n");
    EXPECT_EQ(base64_lines(std::string(57, 'a')).size(), 76u + 2);
    EXPECT_EQ(base64_lines(""), "");
}

TEST(HeaderText, AsciiIsWrittenUnchangedButLineBreaksCannotAddHeaderLines)
{
    EXPECT_EQ(encode_header_text("server 10.0.0.1 down"), "server 10.0.0.1 down");
    EXPECT_EQ(encode_header_text("x\r\nBcc: victim@example.org"), "x  Bcc: victim@example.org");
    EXPECT_EQ(encode_header_text(std::string("a\0b\x7F", 4)), "a b ");
    EXPECT_EQ(encode_header_text(""), "");
}

TEST(HeaderText, ChineseBecomesGb2312WordsOfWholeCharacters)
{
    EXPECT_EQ(encode_header_text(to_gbk("服务器192.168.1.10已经挂了，请尽快处理")),
              "=?gb2312?B?t/7O8cb3MTkyLjE2OC4xLjEw0tG+rbnSwcujrMfrvqG/7LSmwO0=?=");
    // 40 two-byte characters: 45 bytes would fit a word, but only 44 hold whole characters.
    std::string forty;
    for (int i = 0; i < 40; ++i)
        forty += "服";
    EXPECT_EQ(encode_header_text(to_gbk(forty)),
              "=?gb2312?B?t/63/rf+t/63/rf+t/63/rf+t/63/rf+t/63/rf+t/63/rf+t/63/rf+t/4=?=\r\n"
              " =?gb2312?B?t/63/rf+t/63/rf+t/63/rf+t/63/rf+t/63/rf+t/63/rf+?=");
}

TEST(HeaderText, EveryWordIsAtMost75CharactersAndDecodesToWholeCharacters)
{
    const std::string texts[] = {
        to_gbk("a" + std::string(200, 'b') + "服务器已经挂了"),
        to_gbk("x服务器已经挂了，请尽快处理服务器已经挂了，请尽快处理服务器已经挂了，请尽快处理"),
        to_gbk("已") + std::string(3000, 'z'),
        std::string(950, 'q'),  // too long for one header line as it is
    };
    for (const std::string& text : texts) {
        std::string decoded;
        for (const std::string& word : split(encode_header_text(text), "\r\n ")) {
            EXPECT_LE(word.size(), max_encoded_word_length);
            ASSERT_TRUE(word.starts_with("=?gb2312?B?") && word.ends_with("?=")) << word;
            const std::string bytes = base64_decode(word.substr(11, word.size() - 13));
            EXPECT_EQ(from_gbk(bytes).find("\xEF\xBF\xBD"), std::string::npos) << "split character";
            decoded += bytes;
        }
        EXPECT_EQ(decoded, text);
    }
}

TEST(Recipients, ParsesAddressesAndDisplayNames)
{
    struct Row {
        std::string list;
        std::vector<Recipient> expected;
    };
    const Row rows[] = {
        {"", {}},
        {"a@x.org", {{"", "a@x.org"}}},
        {"a@x.org;b@y.org", {{"", "a@x.org"}, {"", "b@y.org"}}},
        {" a@x.org , b@y.org ", {{"", "a@x.org"}, {"", "b@y.org"}}},
        {"Ops Team <ops@x.org>;c@z.org", {{"Ops Team", "ops@x.org"}, {"", "c@z.org"}}},
        {"  <ops@x.org>", {{"", "ops@x.org"}}},
        {";;, ;Nobody <>;d@x.org", {{"", "d@x.org"}}},
        {"a@x.org\r\n", {{"", "a@x.org"}}},  // a pasted line break around the address
        {to_gbk("值班 <duty@x.org>"), {{to_gbk("值班"), "duty@x.org"}}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parse_recipients(row.list), row.expected) << row.list;
}

TEST(Recipients, AnAddressThatCouldEndTheCommandLineIsUnsafe)
{
    EXPECT_TRUE(is_safe_address("a.b+c@x.org"));
    EXPECT_TRUE(is_safe_address(to_gbk("用户@x.org")));
    for (const std::string& bad : std::vector<std::string>{"a@x.org\r\nRCPT TO:<b@y.org>", "a b@x.org", "a@x>", "<a@x",
                            "a\t@x", std::string("a\0@x", 4), "a\x7F@x"})
        EXPECT_FALSE(is_safe_address(bad)) << bad;
}

TEST(Message, TheAlertMailHasTheHeadersInOrderAndABase64Body)
{
    MailMessage m;
    m.from = "monitor@orvane.example";
    m.to = {{"", "ops@x.org"}, {to_gbk("值班"), "duty@x.org"}};
    m.subject = to_gbk("服务器192.168.1.10已经挂了，请尽快处理");
    m.date = "Thu, 11 Dec 2026 21:29:43 +0800";
    m.reply_to = "monitor@orvane.example";
    m.body = to_gbk("已经死机，请尽快处理");
    EXPECT_EQ(compose_message(m),
              "From: monitor@orvane.example\r\n"
              "To: ops@x.org,=?gb2312?B?1rWw4A==?= <duty@x.org>\r\n"
              "Subject: =?gb2312?B?t/7O8cb3MTkyLjE2OC4xLjEw0tG+rbnSwcujrMfrvqG/7LSmwO0=?=\r\n"
              "Date: Thu, 11 Dec 2026 21:29:43 +0800\r\n"
              "Reply-To: monitor@orvane.example\r\n"
              "MIME-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=\"gb2312\"\r\n"
              "Content-Transfer-Encoding: base64\r\n"
              "\r\n"
              "0tG+rcvAu/qjrMfrvqG/7LSmwO0=\r\n");
}

TEST(Message, CcOnlyWhenGivenReplyToOnlyWhenNotEmptyAsciiBodyIsUsAscii)
{
    MailMessage m;
    m.from = "s@x.org";
    m.to = {{"", "a@x.org"}};
    m.cc = {{"", "b@x.org"}, {"", "c@x.org"}};
    m.subject = "down";
    m.date = "D";
    m.body = "hi";
    EXPECT_EQ(compose_message(m),
              "From: s@x.org\r\nTo: a@x.org\r\nCc: b@x.org,c@x.org\r\nSubject: down\r\nDate: D\r\n"
              "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=\"us-ascii\"\r\n"
              "Content-Transfer-Encoding: base64\r\n\r\naGk=\r\n");
}

TEST(Message, ALongToLineIsFoldedAfterACommaWithinTheLineLimit)
{
    MailMessage m;
    for (int i = 0; i < 100; ++i)
        m.to.push_back({"", "recipient" + std::to_string(i) + "@example.org"});
    const std::string message = compose_message(m);
    for (const std::string& line : split(message, "\r\n"))
        EXPECT_LE(line.size(), 998u);
    std::string unfolded = message.substr(0, message.find("\r\nSubject:"));
    for (size_t at; (at = unfolded.find("\r\n ")) != std::string::npos;) {
        EXPECT_EQ(unfolded[at - 1], ',');
        unfolded.erase(at, 3);
    }
    EXPECT_NE(unfolded.find("recipient0@example.org,recipient1@example.org"), std::string::npos);
    EXPECT_TRUE(unfolded.ends_with(",recipient99@example.org"));
}

TEST(DataTransfer, DotsThatStartALineAreDoubledAndTheLoneDotEndsIt)
{
    const std::pair<std::string, std::string> rows[] = {
        {"a\r\nb\r\n", "a\r\nb\r\n.\r\n"},
        {".a\r\n.\r\nb.\r\n", "..a\r\n..\r\nb.\r\n.\r\n"},
        {"no final break", "no final break\r\n.\r\n"},
        {"", ".\r\n"},
    };
    for (const auto& [in, out] : rows)
        EXPECT_EQ(data_with_end_marker(in), out) << in;
}

TEST(MailDate, LocalTimeWithItsSignedOffset)
{
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 11;
    t.tm_wday = 4;
    t.tm_hour = 21;
    t.tm_min = 29;
    t.tm_sec = 3;
    const std::pair<long, std::string> rows[] = {
        {8 * 3600, "Thu, 11 Dec 2026 21:29:03 +0800"},
        {0, "Thu, 11 Dec 2026 21:29:03 +0000"},
        {-(3 * 3600 + 30 * 60), "Thu, 11 Dec 2026 21:29:03 -0330"},
        {5 * 3600 + 45 * 60, "Thu, 11 Dec 2026 21:29:03 +0545"},
    };
    for (const auto& [offset, text] : rows)
        EXPECT_EQ(format_mail_date(t, offset), text);
}

TEST(MailDate, NowFollowsTheLocalZoneDaylightSavingIncluded)
{
    const char* saved = getenv("TZ");
    const std::string previous = saved ? saved : "";
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    const std::string date = current_mail_date();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    if (saved)
        setenv("TZ", previous.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
    EXPECT_TRUE(date.ends_with(local.tm_isdst ? " +0200" : " +0100")) << date;
}

}
}
