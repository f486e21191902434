// Times one alert on loopback against Python's smtplib sending the same message to the same
// server (the tests' aiosmtpd sink, which smtplib_rounds.py starts), in rounds taken in turn:
//
//   1. SmtpClient: smtp_connect + smtp_send_mail on a fresh client, against smtplib's connect,
//      EHLO, AUTH LOGIN and sendmail.
//   2. AlertMailer::send_alert_mail as the program runs it, one mailer for all rounds, so each
//      alert first ends the previous connection with QUIT; against smtplib's alert and QUIT.
//
// Usage: alert_bench [ROUNDS]   (50 unless given)
#include "alert/alert_mail.h"
#include "alert/mail_date.h"
#include "alert/mime.h"
#include "platform/gbk.h"
#include "tests/support/fakes.h"
#include "ui/form.h"
#include "ui/properties.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int warm_up_rounds = 2;
const orvane::MailAccount account_template{"127.0.0.1", 0, "monitor@orvane.example", "abc123456"};
constexpr const char* server_name = "web1.orvane.example";
constexpr const char* recipient = "ops@orvane.example";

std::string alert_subject_utf8() { return std::string("服务器") + server_name + "已经挂了，请尽快处理"; }

// smtplib_rounds.py as a child that answers one line per command.
class SmtplibSide {
public:
    SmtplibSide()
    {
        int to_child[2], from_child[2];
        if (::pipe(to_child) != 0 || ::pipe(from_child) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, to_child[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, from_child[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, to_child[1]);
        posix_spawn_file_actions_addclose(&actions, from_child[0]);
        const std::string user = account_template.address, password = account_template.password;
        char* argv[] = {const_cast<char*>("/usr/bin/python3"), const_cast<char*>(ORVANE_SMTPLIB_ROUNDS),
                        const_cast<char*>(ORVANE_SMTP_SINK), const_cast<char*>(user.c_str()),
                        const_cast<char*>(password.c_str()), const_cast<char*>(user.c_str()),
                        const_cast<char*>(recipient), nullptr};
        if (::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(to_child[0]);
        ::close(from_child[1]);
        m_to = ::fdopen(to_child[1], "w");
        m_from = ::fdopen(from_child[0], "r");
        m_port = std::atoi(answer().c_str());
    }
    ~SmtplibSide()
    {
        if (m_to)
            std::fclose(m_to);  // end of input: the child stops the server and cleans up
        if (m_from)
            std::fclose(m_from);
        if (m_pid > 0)
            ::waitpid(m_pid, nullptr, 0);
    }

    [[nodiscard]] int port() const { return m_port; }

    void set_message(const std::string& message)
    {
        std::fprintf(m_to, "message %zu\n", message.size());
        std::fwrite(message.data(), 1, message.size(), m_to);
        std::fflush(m_to);
    }
    // Nanoseconds of the alert and of the QUIT after it; zeros when the send failed.
    [[nodiscard]] std::pair<double, double> send()
    {
        command("send\n");
        double alert = 0, quit = 0;
        if (std::sscanf(answer().c_str(), "%lf %lf", &alert, &quit) != 2)
            return {0, 0};
        return {alert, quit};
    }
    // How many mails the server took, and how many of them carry the subject.
    [[nodiscard]] std::string received(const std::string& subject_utf8)
    {
        command("received\n" + subject_utf8 + "\n");
        return answer();
    }

private:
    void command(const std::string& text)
    {
        std::fputs(text.c_str(), m_to);
        std::fflush(m_to);
    }
    std::string answer()
    {
        char line[256] = {};
        if (!m_from || !std::fgets(line, sizeof line, m_from))
            return "";
        std::string text = line;
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        return text;
    }

    pid_t m_pid = -1;
    FILE* m_to = nullptr;
    FILE* m_from = nullptr;
    int m_port = 0;
};

double elapsed_ns(Clock::time_point since)
{
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - since).count());
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double minimum(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

struct Samples {
    std::vector<double> client, mailer, smtplib, smtplib_with_quit;
};

class Bench {
public:
    explicit Bench(orvane::MailAccount account)
        : m_account(std::move(account)), m_mailer(m_account)
    {
        m_store.write_bytes(orvane::Control::编辑框1, orvane::Property::text, server_name);
        m_store.write_bytes(orvane::Control::编辑框2, orvane::Property::text, recipient);
    }

    // The message the program sends, composed as its client composes it, for smtplib to send.
    [[nodiscard]] std::string alert_message() const
    {
        return orvane::compose_message({m_account.address, orvane::parse_recipients(recipient), {},
                                        subject(), orvane::current_mail_date(), m_account.address,
                                        orvane::to_gbk("已经死机，请尽快处理")});
    }

    // One round of each, the two clients in turn against the same server.
    void round(SmtplibSide& smtplib, Samples* samples)
    {
        const double client = time_client();
        const auto [alert, quit] = smtplib.send();
        const size_t messages_before = m_desktop.messages.size();
        const double mailer = time_mailer();
        if (client < 0 || alert == 0 || m_desktop.messages.size() != messages_before)
            ++m_failures;
        if (samples) {
            samples->client.push_back(client);
            samples->smtplib.push_back(alert);
            samples->smtplib_with_quit.push_back(alert + quit);
            samples->mailer.push_back(mailer);
        }
    }

    [[nodiscard]] int failures() const { return m_failures; }

private:
    [[nodiscard]] std::string subject() const
    {
        return orvane::to_gbk("服务器") + server_name + orvane::to_gbk("已经挂了，请尽快处理");
    }

    // A fresh client for each round; its connection closes outside the timed span, as smtplib's
    // QUIT does.
    double time_client()
    {
        auto client = std::make_unique<orvane::SmtpClient>();
        const Clock::time_point start = Clock::now();
        const bool sent = client->smtp_connect(m_account.host, m_account.port, m_account.address,
                                               m_account.password)
            && client->smtp_send_mail(subject(), orvane::to_gbk("已经死机，请尽快处理"), recipient,
                                      "", "", m_account.address)
                   .empty();
        const double ns = elapsed_ns(start);
        return sent ? ns : -1;
    }

    double time_mailer()
    {
        const Clock::time_point start = Clock::now();
        m_mailer.send_alert_mail();
        return elapsed_ns(start);
    }

    orvane::MailAccount m_account;
    orvane::Form m_form{};
    orvane::PropertyStore m_store{m_form};
    orvane::testing::FakeDesktop m_desktop;
    orvane::AlertMailer m_mailer;
    int m_failures = 0;
};

void report(const Samples& s)
{
    const auto line = [](const char* what, const std::vector<double>& v) {
        std::printf("%-44s median %7.3f ms   min %7.3f ms\n", what, median(v) / 1e6, minimum(v) / 1e6);
    };
    line("SmtpClient connect + send", s.client);
    line("smtplib connect + EHLO + AUTH + sendmail", s.smtplib);
    std::printf("%-44s %.3f\n", "ratio of medians SmtpClient / smtplib", median(s.client) / median(s.smtplib));
    line("AlertMailer::send_alert_mail (QUIT first)", s.mailer);
    line("smtplib as above + QUIT", s.smtplib_with_quit);
    std::printf("%-44s %.3f\n", "ratio of medians AlertMailer / smtplib+QUIT",
                median(s.mailer) / median(s.smtplib_with_quit));
}

}

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    SmtplibSide smtplib;
    if (smtplib.port() == 0) {
        std::puts("the test mail server did not start (needs python3-aiosmtpd)");
        return 1;
    }
    orvane::MailAccount account = account_template;
    account.port = smtplib.port();
    Bench bench(account);
    smtplib.set_message(bench.alert_message());

    Samples samples;
    for (int i = 0; i < warm_up_rounds; ++i)
        bench.round(smtplib, nullptr);
    for (int i = 0; i < rounds; ++i)
        bench.round(smtplib, &samples);

    std::printf("server: aiosmtpd on 127.0.0.1:%d; %d rounds after %d warm-up rounds, in turn\n",
                smtplib.port(), rounds, warm_up_rounds);
    report(samples);
    std::printf("%-44s %s (expected %d %d)\n", "mails received / with the alert's subject",
                smtplib.received(alert_subject_utf8()).c_str(), 3 * (rounds + warm_up_rounds),
                3 * (rounds + warm_up_rounds));
    std::printf("%-44s %d\n", "failed rounds", bench.failures());
    return bench.failures() == 0 ? 0 : 1;
}
