#include "alert/alert_mail.h"

#include "platform/gbk.h"
#include "tests/support/fakes.h"
#include "ui/form.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane {
namespace {

// aiosmtpd, started for the test and stopped after it; it writes each accepted mail to a file.
class RealMailServer {
public:
    RealMailServer()
    {
        char pattern[] = "/tmp/orvane-mail-XXXXXX";
        m_dir = mkdtemp(pattern);
        int out[2];
        if (pipe(out) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string script = ORVANE_SMTP_SINK;
        const std::string dir = m_dir.string();
        char* argv[] = {const_cast<char*>("/usr/bin/python3"), const_cast<char*>(script.c_str()),
                        const_cast<char*>(dir.c_str()), nullptr};
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (FILE* from_server = fdopen(out[0], "r")) {
            if (std::fscanf(from_server, "%d", &m_port) != 1)
                m_port = 0;
            std::fclose(from_server);
        }
    }
    ~RealMailServer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        std::filesystem::remove_all(m_dir);
    }

    [[nodiscard]] int port() const { return m_port; }
    [[nodiscard]] std::vector<std::string> mail(int n) const
    {
        std::ifstream in(m_dir / ("mail-" + std::to_string(n) + ".txt"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

private:
    std::filesystem::path m_dir;
    pid_t m_pid = -1;
    int m_port = 0;
};

class RealServer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(m_server.port(), 0) << "aiosmtpd did not start"; }
    MailAccount account(std::string password = "abc123456")
    {
        return {"127.0.0.1", m_server.port(), "monitor@orvane.example", std::move(password)};
    }
    void type(Control box, std::string_view utf8) { m_store.write_bytes(box, Property::text, to_gbk(utf8)); }

    RealMailServer m_server;
    Form m_form{};
    PropertyStore m_store{m_form};
    testing::FakeDesktop m_desktop;
};

TEST_F(RealServer, TheAlertArrivesAndDecodesToTheChineseTexts)
{
    AlertMailer mailer(account());
    type(Control::编辑框1, "192.168.1.10");
    type(Control::编辑框2, "ops@x.org;值班 <duty@x.org>");
    mailer.send_alert_mail();

    const std::vector<std::string> mail = m_server.mail(1);
    ASSERT_EQ(mail.size(), 5u);
    EXPECT_EQ(mail[0], "monitor@orvane.example");
    EXPECT_EQ(mail[1], "ops@x.org,duty@x.org");
    EXPECT_EQ(mail[2], "服务器192.168.1.10已经挂了，请尽快处理");
    EXPECT_EQ(mail[3], "ops@x.org, 值班 <duty@x.org>");
    EXPECT_EQ(mail[4], "已经死机，请尽快处理");
    EXPECT_TRUE(m_desktop.messages.empty());
}

TEST_F(RealServer, ALongServerTextSurvivesFoldingAndASecondAlertReconnects)
{
    AlertMailer mailer(account());
    std::string long_name;
    for (int i = 0; i < 60; ++i)
        long_name += "服务器.example";
    type(Control::编辑框1, long_name);
    type(Control::编辑框2, "ops@x.org");
    mailer.send_alert_mail();
    type(Control::编辑框1, "db1");
    mailer.send_alert_mail();

    EXPECT_EQ(m_server.mail(1).at(2), "服务器" + long_name + "已经挂了，请尽快处理");
    EXPECT_EQ(m_server.mail(2).at(2), "服务器db1已经挂了，请尽快处理");
}

TEST_F(RealServer, AWrongPasswordIsRefusedAndReported)
{
    AlertMailer mailer(account("abc000000"));
    type(Control::编辑框2, "ops@x.org");
    mailer.send_alert_mail();
    EXPECT_EQ(m_desktop.messages.size(), 1u);
    EXPECT_TRUE(m_server.mail(1).empty());
}

}
}
