#include "alert/alert_mail.h"

#include "alert/mime.h"
#include "platform/gbk.h"
#include "tests/alert/scripted_smtp_server.h"
#include "tests/support/fakes.h"
#include "ui/form.h"

#include <future>
#include <gtest/gtest.h>
#include <latch>

namespace orvane {
namespace {

using testing::FakeDesktop;
using testing::ScriptedSmtpServer;
using Lines = std::vector<std::string>;

const Lines login_session = {"220 mx", "250-mx\r\n250 AUTH LOGIN", "334 u", "334 p", "235 ok"};
const Lines mail_replies = {"250 ok", "250 ok", "354 go", "250 queued"};

Lines plus(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class AlertMail : public ::testing::Test {
protected:
    MailAccount account_for(const ScriptedSmtpServer& server)
    {
        return {"127.0.0.1", server.port(), "monitor@orvane.example", "abc123456"};
    }
    void type(Control box, std::string_view utf8) { m_store.write_bytes(box, Property::text, to_gbk(utf8)); }
    std::vector<std::pair<std::string, std::string>> messages()
    {
        std::lock_guard lock(m_desktop.mutex);
        return m_desktop.messages;
    }
    static Lines login_transcript()
    {
        return {"EHLO " + local_host_name(), "AUTH LOGIN", base64_encode("monitor@orvane.example"),
                base64_encode("abc123456")};
    }
    static const std::pair<std::string, std::string> failure_message;

    Form m_form{};
    PropertyStore m_store{m_form};
    FakeDesktop m_desktop;
};

const std::pair<std::string, std::string> AlertMail::failure_message = {
    to_gbk("连接服务器失败，请先检查网络！"), to_gbk("信息：")};

TEST_F(AlertMail, MailsTheServerTextToTheTypedAddressThroughTheAccount)
{
    ScriptedSmtpServer server({plus(login_session, mail_replies)});
    AlertMailer mailer(account_for(server));
    type(Control::编辑框1, "192.168.1.10");
    type(Control::编辑框2, "ops@x.org");
    mailer.send_alert_mail();

    const Lines sent = server.transcript(0);
    ASSERT_EQ(sent.size(), 8u);
    EXPECT_EQ(Lines(sent.begin(), sent.begin() + 4), login_transcript());
    EXPECT_EQ(Lines(sent.begin() + 4, sent.end() - 1),
              (Lines{"MAIL FROM:<monitor@orvane.example>", "RCPT TO:<ops@x.org>", "DATA"}));
    const std::string message = sent.back();
    EXPECT_TRUE(message.starts_with(
        "From: monitor@orvane.example\r\nTo: ops@x.org\r\n"
        "Subject: =?gb2312?B?t/7O8cb3MTkyLjE2OC4xLjEw0tG+rbnSwcujrMfrvqG/7LSmwO0=?=\r\nDate: "))
        << message;
    EXPECT_TRUE(message.ends_with("\r\nReply-To: monitor@orvane.example\r\nMIME-Version: 1.0\r\n"
                                  "Content-Type: text/plain; charset=\"gb2312\"\r\n"
                                  "Content-Transfer-Encoding: base64\r\n\r\n"
                                  "0tG+rcvAu/qjrMfrvqG/7LSmwO0=\r\n"))
        << message;
    EXPECT_TRUE(messages().empty());
}

TEST_F(AlertMail, AnEmptyServerBoxGivesTheBareSubject)
{
    ScriptedSmtpServer server({plus(login_session, mail_replies)});
    AlertMailer mailer(account_for(server));
    type(Control::编辑框2, "ops@x.org");
    mailer.send_alert_mail();
    EXPECT_NE(server.transcript(0).back().find(
                  "\r\nSubject: " + encode_header_text(to_gbk("服务器已经挂了，请尽快处理")) + "\r\n"),
              std::string::npos);
}

TEST_F(AlertMail, TwoAddressesGetTwoRecipientCommandsAndOneToLine)
{
    for (const char* list : {"a@x.org;b@y.org", "a@x.org,b@y.org"}) {
        ScriptedSmtpServer server({plus(login_session, plus({"250 ok"}, mail_replies))});
        AlertMailer mailer(account_for(server));
        type(Control::编辑框2, list);
        mailer.send_alert_mail();
        const Lines sent = server.transcript(0);
        ASSERT_EQ(sent.size(), 9u) << list;
        EXPECT_EQ(sent[5], "RCPT TO:<a@x.org>");
        EXPECT_EQ(sent[6], "RCPT TO:<b@y.org>");
        EXPECT_NE(sent.back().find("\r\nTo: a@x.org,b@y.org\r\n"), std::string::npos);
    }
}

TEST_F(AlertMail, AnEmptyAddressBoxLogsInButSendsAndShowsNothing)
{
    ScriptedSmtpServer server({login_session});
    AlertMailer mailer(account_for(server));
    type(Control::编辑框1, "10.0.0.1");
    mailer.send_alert_mail();
    EXPECT_EQ(server.transcript(0), login_transcript());
    EXPECT_TRUE(messages().empty());
}

TEST_F(AlertMail, ARefusedMailIsDroppedSilently)
{
    ScriptedSmtpServer server({plus(login_session, {"250 ok", "550 unknown user", "250 reset"})});
    AlertMailer mailer(account_for(server));
    type(Control::编辑框2, "nobody@x.org");
    mailer.send_alert_mail();
    EXPECT_EQ(server.transcript(0).back(), "RSET");
    EXPECT_TRUE(messages().empty());
}

TEST_F(AlertMail, AFailedConnectionShowsTheStopMessageAndSendsNothing)
{
    ScriptedSmtpServer server({plus(Lines(login_session.begin(), login_session.end() - 1), {"535 bad"})});
    AlertMailer mailer(account_for(server));
    type(Control::编辑框2, "ops@x.org");
    mailer.send_alert_mail();
    EXPECT_EQ(messages(), (std::vector{failure_message}));
    EXPECT_EQ(server.transcript(0), plus(login_transcript(), {"QUIT"}));

    int closed_port;
    {
        ScriptedSmtpServer gone({});
        closed_port = gone.port();
    }
    AlertMailer refused({"127.0.0.1", closed_port, "monitor@orvane.example", "abc123456"});
    refused.send_alert_mail();
    EXPECT_EQ(messages().size(), 2u);
}

TEST_F(AlertMail, AServerSilentForTheDefaultTwoSecondsIsAFailedConnection)
{
    ScriptedSmtpServer server({Lines{"220 mx", ScriptedSmtpServer::silent}});
    AlertMailer mailer(account_for(server));
    const auto start = std::chrono::steady_clock::now();
    mailer.send_alert_mail();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(reply_timeout_ms));
    EXPECT_EQ(messages(), (std::vector{failure_message}));
}

TEST_F(AlertMail, ASecondAlertQuitsTheOpenConnectionFirst)
{
    ScriptedSmtpServer server({plus(login_session, mail_replies), plus(login_session, mail_replies)});
    AlertMailer mailer(account_for(server));
    type(Control::编辑框2, "ops@x.org");
    mailer.send_alert_mail();
    type(Control::编辑框1, "second");
    mailer.send_alert_mail();
    ASSERT_TRUE(server.wait_closed(0));
    EXPECT_EQ(server.transcript(0).back(), "QUIT");
    EXPECT_EQ(server.transcript(1).size(), 8u);
    EXPECT_NE(server.transcript(1).back().find(encode_header_text(to_gbk("服务器second已经挂了，请尽快处理"))),
              std::string::npos);
}

TEST_F(AlertMail, OverlappingAlertsTakeTurnsOnTheOneConnection)
{
    constexpr int alerts = 4;
    std::vector<std::vector<std::string>> sessions(alerts, plus(login_session, mail_replies));
    ScriptedSmtpServer server(sessions);
    AlertMailer mailer(account_for(server));
    type(Control::编辑框2, "ops@x.org");
    std::latch start(alerts);
    std::vector<std::thread> threads;
    for (int i = 0; i < alerts; ++i)
        threads.emplace_back([&] {
            start.arrive_and_wait();
            mailer.send_alert_mail();
        });
    for (std::thread& t : threads)
        t.join();

    for (size_t s = 0; s < alerts; ++s)
        EXPECT_EQ(server.transcript(s).size(), s + 1 < alerts ? 9u : 8u) << "session " << s;
    // A session's commands never interleave with the next one's: all of one, then its QUIT.
    const std::vector<size_t> order = server.record_order();
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_TRUE(messages().empty());
}

// Holds every failure message open until released, as a user who has not pressed OK yet.
class WaitingDesktop : public FakeDesktop {
public:
    void show_stop_message(std::string_view text, std::string_view title) override
    {
        FakeDesktop::show_stop_message(text, title);
        shown.count_down();
        m_released.get_future().wait();
    }
    void release() { m_released.set_value(); }
    std::latch shown{1};

private:
    std::promise<void> m_released;
};

TEST(AlertMailMessage, AnOpenFailureMessageDoesNotHoldUpTheNextAlert)
{
    Form form{};
    PropertyStore store(form);
    WaitingDesktop desktop;
    ScriptedSmtpServer server({Lines{"554 busy"}, plus(login_session, mail_replies)});
    AlertMailer mailer({"127.0.0.1", server.port(), "monitor@orvane.example", "abc123456"});
    store.write_bytes(Control::编辑框2, Property::text, "ops@x.org");

    std::thread waiting_worker([&] { mailer.send_alert_mail(); });
    desktop.shown.wait();
    auto second = std::async(std::launch::async, [&] { mailer.send_alert_mail(); });
    const bool finished = second.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    desktop.release();
    waiting_worker.join();
    EXPECT_TRUE(finished) << "the second alert waited for the first one's message box";
    EXPECT_EQ(server.transcript(1).size(), 8u);
}

}
}
