#include "alert/smtp_client.h"

#include "alert/mime.h"
#include "tests/alert/scripted_smtp_server.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using testing::ScriptedSmtpServer;
using Lines = std::vector<std::string>;

constexpr int short_timeout_ms = 200;
const std::string user = "monitor@orvane.example";
const std::string password = "abc123456";

std::string ehlo() { return "EHLO " + local_host_name(); }
std::string helo() { return "HELO " + local_host_name(); }

const Lines login_session = {"220 mx ready", "250-mx\r\n250-AUTH PLAIN LOGIN\r\n250 8BITMIME",
                             "334 VXNlcm5hbWU6", "334 UGFzc3dvcmQ6", "235 welcome"};
const Lines login_transcript = {ehlo(), "AUTH LOGIN", base64_encode(user), base64_encode(password)};

Lines plus(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

bool connect(SmtpClient& client, const ScriptedSmtpServer& server, int timeout = reply_timeout_ms)
{
    return client.smtp_connect("127.0.0.1", server.port(), user, password, timeout);
}

TEST(SmtpConnect, LogsInWithTheMechanismTheServerOffers)
{
    struct Row {
        const char* what;
        Lines script, transcript;
    };
    const Row rows[] = {
        {"LOGIN before PLAIN", login_session, login_transcript},
        {"PLAIN alone",
         {"220 mx", "250-mx\r\n250 AUTH PLAIN", "334 ", "235 ok"},
         {ehlo(), "AUTH PLAIN", base64_encode(std::string("\0", 1) + user + '\0' + password)}},
        {"no AUTH: the EHLO answer is enough", {"220 mx", "250 mx"}, {ehlo()}},
        {"EHLO refused: HELO and no login",
         {"220 mx", "502 what", "250 hello"}, {ehlo(), helo()}},
    };
    for (const Row& row : rows) {
        ScriptedSmtpServer server({row.script});
        SmtpClient client;
        EXPECT_TRUE(connect(client, server)) << row.what;
        EXPECT_TRUE(client.is_open()) << row.what;
        EXPECT_EQ(server.transcript(0), row.transcript) << row.what;
    }
}

TEST(SmtpConnect, AFailureAfterTheTcpConnectionEndsItWithQuit)
{
    struct Row {
        const char* what;
        Lines script, transcript;
    };
    const std::string silent = ScriptedSmtpServer::silent;
    const Row rows[] = {
        {"greeting not 220", {"554 go away"}, {"QUIT"}},
        {"EHLO and HELO refused", {"220 mx", "502 no", "502 no"}, {ehlo(), helo(), "QUIT"}},
        {"wrong password", plus(Lines(login_session.begin(), login_session.end() - 1), {"535 bad"}),
         plus(login_transcript, {"QUIT"})},
        {"PLAIN refused", {"220 mx", "250-mx\r\n250 AUTH PLAIN", "334 ", "535 bad"},
         {ehlo(), "AUTH PLAIN", base64_encode(std::string("\0", 1) + user + '\0' + password), "QUIT"}},
        {"silent greeting", {silent}, {"QUIT"}},
        {"silent after EHLO", {"220 mx", silent}, {ehlo(), "QUIT"}},
        {"silent after the password", {"220 mx", "250-mx\r\n250 AUTH LOGIN", "334 a", "334 b", silent},
         plus(login_transcript, {"QUIT"})},
        {"endless greeting", {"220 " + std::string(200'000, 'x')}, {"QUIT"}},
    };
    for (const Row& row : rows) {
        ScriptedSmtpServer server({row.script});
        SmtpClient client;
        EXPECT_FALSE(connect(client, server, short_timeout_ms)) << row.what;
        EXPECT_FALSE(client.is_open()) << row.what;
        ASSERT_TRUE(server.wait_closed(0)) << row.what;
        EXPECT_EQ(server.transcript(0), row.transcript) << row.what;
    }
}

TEST(SmtpConnect, FailsWithoutQuitWhenTheServerHangsUpOrRefuses)
{
    {
        ScriptedSmtpServer server({Lines{"220 mx", ScriptedSmtpServer::hang_up}});
        SmtpClient client;
        EXPECT_FALSE(connect(client, server));
        EXPECT_EQ(server.transcript(0), Lines{ehlo()});
    }
    int closed_port;
    {
        ScriptedSmtpServer server({});
        closed_port = server.port();
    }
    SmtpClient client;
    EXPECT_FALSE(client.smtp_connect("127.0.0.1", closed_port, user, password));
    EXPECT_FALSE(client.is_open());
}

TEST(SmtpConnect, ASecondConnectQuitsAndClosesTheFirstConnection)
{
    ScriptedSmtpServer server({login_session, login_session});
    SmtpClient client;
    ASSERT_TRUE(connect(client, server));
    ASSERT_TRUE(connect(client, server));
    ASSERT_TRUE(server.wait_closed(0));
    EXPECT_EQ(server.transcript(0), plus(login_transcript, {"QUIT"}));
    EXPECT_EQ(server.transcript(1), login_transcript);
    const std::vector<size_t> order = server.record_order();
    EXPECT_EQ(order.at(login_transcript.size()), 0u) << "QUIT before the new greeting";
}

std::string message_of(const Lines& transcript) { return transcript.back(); }

TEST(SmtpSendMail, SendsToEveryRecipientInListOrderAndLeavesTheConnectionOpen)
{
    ScriptedSmtpServer server({plus(login_session, {"250 ok", "250 ok", "250 ok", "250 ok", "250 ok",
                                                    "354 go", "250 queued"})});
    SmtpClient client;
    ASSERT_TRUE(connect(client, server));
    EXPECT_EQ(client.smtp_send_mail("disk full", "hello", "a@x.org;Bee <b@y.org>", "c@z.org",
                                    "d@w.org", "s@x.org"),
              "");
    const Lines sent = server.transcript(0);
    ASSERT_EQ(sent.size(), login_transcript.size() + 7);
    EXPECT_EQ(Lines(sent.begin() + 4, sent.end() - 1),
              (Lines{"MAIL FROM:<s@x.org>", "RCPT TO:<a@x.org>", "RCPT TO:<b@y.org>",
                     "RCPT TO:<c@z.org>", "RCPT TO:<d@w.org>", "DATA"}));
    const std::string message = message_of(sent);
    EXPECT_TRUE(message.starts_with("From: s@x.org\r\nTo: a@x.org,Bee <b@y.org>\r\nCc: c@z.org\r\n"
                                    "Subject: disk full\r\nDate: "))
        << message;
    EXPECT_NE(message.find("\r\nReply-To: s@x.org\r\n"), std::string::npos);
    EXPECT_EQ(message.find("d@w.org"), std::string::npos) << "Bcc must stay hidden";
    EXPECT_TRUE(message.ends_with("\r\n\r\naGVsbG8=\r\n"));
    EXPECT_TRUE(client.is_open());
    EXPECT_EQ(sent.back(), message) << "no QUIT after a sent mail";
}

TEST(SmtpSendMail, AnEmptyReplyToLeavesTheLineOutAnAddressOverridesIt)
{
    for (const std::string reply_to : {"", "help@x.org"}) {
        ScriptedSmtpServer server({plus(login_session, {"250 ok", "250 ok", "354 go", "250 queued"})});
        SmtpClient client;
        ASSERT_TRUE(connect(client, server));
        EXPECT_EQ(client.smtp_send_mail("s", "b", "a@x.org", "", "", "s@x.org", reply_to), "");
        const std::string message = message_of(server.transcript(0));
        EXPECT_EQ(message.find("Reply-To:") == std::string::npos, reply_to.empty()) << message;
        if (!reply_to.empty()) {
            EXPECT_NE(message.find("Reply-To: " + reply_to + "\r\n"), std::string::npos);
        }
    }
}

TEST(SmtpSendMail, SendsNothingWithoutAUsableAddress)
{
    const std::string lists[] = {"", " ; , ", "Name <>", "a@x.org\r\nDATA",
                                 "good@x.org;bad@x.org>\r\nDATA"};
    for (const std::string& to : lists) {
        ScriptedSmtpServer server({login_session});
        SmtpClient client;
        ASSERT_TRUE(connect(client, server));
        EXPECT_NE(client.smtp_send_mail("s", "b", to, "", "", "s@x.org"), "") << to;
        EXPECT_EQ(server.transcript(0), login_transcript) << to;
        EXPECT_TRUE(client.is_open());
    }
    SmtpClient never_connected;
    EXPECT_NE(never_connected.smtp_send_mail("s", "b", "a@x.org", "", "", "s@x.org"), "");
}

TEST(SmtpSendMail, AFailureAfterMailFromIsFollowedByRsetAndKeepsTheConnection)
{
    struct Row {
        const char* what;
        Lines replies, sent;
    };
    const std::string silent = ScriptedSmtpServer::silent;
    const Row rows[] = {
        {"sender refused", {"550 no", "250 reset"}, {"MAIL FROM:<s@x.org>", "RSET"}},
        {"recipient refused", {"250 ok", "550 no such user", "250 reset"},
         {"MAIL FROM:<s@x.org>", "RCPT TO:<a@x.org>", "RSET"}},
        {"DATA refused", {"250 ok", "250 ok", "451 later", "250 reset"},
         {"MAIL FROM:<s@x.org>", "RCPT TO:<a@x.org>", "DATA", "RSET"}},
        {"silent recipient", {"250 ok", silent, "250 reset"},
         {"MAIL FROM:<s@x.org>", "RCPT TO:<a@x.org>", "RSET"}},
    };
    for (const Row& row : rows) {
        ScriptedSmtpServer server({plus(login_session, row.replies)});
        SmtpClient client;
        ASSERT_TRUE(connect(client, server, short_timeout_ms)) << row.what;
        EXPECT_NE(client.smtp_send_mail("s", "b", "a@x.org", "", "", "s@x.org"), "") << row.what;
        EXPECT_EQ(server.transcript(0), plus(login_transcript, row.sent)) << row.what;
        EXPECT_TRUE(client.is_open()) << row.what;
    }
}

TEST(SmtpSendMail, ARefusedMessageIsAFailure)
{
    ScriptedSmtpServer server({plus(login_session, {"250 ok", "250 ok", "354 go", "554 spam", "250 reset"})});
    SmtpClient client;
    ASSERT_TRUE(connect(client, server));
    EXPECT_NE(client.smtp_send_mail("s", "b", "a@x.org", "", "", "s@x.org"), "");
    EXPECT_EQ(server.transcript(0).back(), "RSET");
}

TEST(SmtpSendMail, AServerThatHangsUpMidwayLeavesTheClientClosedAndAlive)
{
    ScriptedSmtpServer server({plus(login_session, {ScriptedSmtpServer::hang_up}), login_session});
    SmtpClient client;
    ASSERT_TRUE(connect(client, server));
    EXPECT_NE(client.smtp_send_mail("s", "b", "a@x.org", "", "", "s@x.org"), "");
    EXPECT_FALSE(client.is_open());
    ASSERT_TRUE(connect(client, server));
    EXPECT_EQ(server.transcript(1), login_transcript);
    EXPECT_EQ(server.transcript(0).back(), "MAIL FROM:<s@x.org>") << "no QUIT on a dead connection";
}

}
}
