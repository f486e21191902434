#pragma once

// The alert e-mail that tells the watcher the server is down.
namespace orvane {

// Sends the alert through the built-in sender account; on a failed connection it shows the
// failure message box. Runs to its end on the calling thread and reports nothing.
void send_alert_mail();

}
