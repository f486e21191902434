#include "alert/alert_mail.h"

#include "platform/gbk.h"
#include "ui/desktop.h"
#include "ui/properties.h"

#include <optional>

namespace orvane {

const MailAccount& built_in_account()
{
    static const MailAccount account{ORVANE_SMTP_HOST, smtp_port, ORVANE_SENDER_ADDRESS,
                                     ORVANE_SENDER_PASSWORD};
    return account;
}

void AlertMailer::send_alert_mail()
{
    if (!connect_and_send())
        desktop().show_stop_message(to_gbk("连接服务器失败，请先检查网络！"), to_gbk("信息："));
}

bool AlertMailer::connect_and_send()
{
    std::lock_guard lock(m_mutex);
    if (!m_client.smtp_connect(m_account.host, m_account.port, m_account.address,
                               m_account.password))
        return false;
    const Bytes subject = to_gbk("服务器") + read_bytes(Control::编辑框1, Property::text)
        + to_gbk("已经挂了，请尽快处理");
    const Bytes to = read_bytes(Control::编辑框2, Property::text);
    // The alert has no one to tell of a refused mail: the result is dropped by design.
    (void)m_client.smtp_send_mail(subject, to_gbk("已经死机，请尽快处理"), to, "", "",
                                  m_account.address);
    return true;
}

namespace {
std::optional<MailAccount> chosen_account;
}

void use_alert_account(MailAccount account)
{
    chosen_account = std::move(account);
}

void send_alert_mail()
{
    // Never destroyed: a probe's worker may still be mid-alert while the process ends.
    static AlertMailer& mailer = *new AlertMailer(chosen_account.value_or(built_in_account()));
    mailer.send_alert_mail();
}

}
