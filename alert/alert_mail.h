#pragma once

#include "alert/smtp_client.h"

#include <mutex>
#include <string>

// The alert e-mail that tells the watcher the server is down.
namespace orvane {

// The account the alert is sent through.
struct MailAccount {
    std::string host;
    int port = smtp_port;
    std::string address;   // also the login user name
    std::string password;
};

// The account chosen when the program was built.
[[nodiscard]] const MailAccount& built_in_account();

// Sends the alert through one account over one SMTP connection that it keeps open between
// alerts. Alerts from several threads take turns: each runs whole before the next starts.
class AlertMailer {
public:
    explicit AlertMailer(MailAccount account) : m_account(std::move(account)) {}

    // Connects and logs in, then mails the server named in 编辑框1 to the addresses in 编辑框2.
    // A failed connection shows the failure message box, after the connection is given up so
    // that another alert need not wait for the user; a failed send is dropped.
    void send_alert_mail();

private:
    [[nodiscard]] bool connect_and_send();

    MailAccount m_account;
    std::mutex m_mutex;
    SmtpClient m_client;
};

// Sends the alert through the built-in sender account; on a failed connection it shows the
// failure message box. Runs to its end on the calling thread and reports nothing.
void send_alert_mail();

// Makes send_alert_mail use this account instead, for a build of the program that mails a
// server on this machine. Call it before the window is loaded.
void use_alert_account(MailAccount);

}
