"""The other side of alert_bench: starts the test mail server (aiosmtpd on a free loopback port)
and sends the alert through Python's smtplib when told to, so that both clients meet the same
server in the same run.

Usage: smtplib_rounds.py SINK_SCRIPT USER PASSWORD SENDER RECIPIENT
Protocol on stdin/stdout, one line each:
  -> prints the server's port once it listens
  <- "message LENGTH", then LENGTH bytes: the message to send from now on
  <- "send"            -> "CONNECT_SEND_NS QUIT_NS": connect, EHLO, AUTH LOGIN, MAIL/RCPT/DATA;
                          then QUIT with its answer, timed apart
  <- "received", then a line SUBJECT (UTF-8)
                       -> how many mails the server took, and how many carry that subject
  end of input stops the server and removes its mail.
"""
import pathlib
import shutil
import smtplib
import socket
import subprocess
import sys
import tempfile
import time

HOST = "127.0.0.1"


def start_sink(script, out_dir):
    sink = subprocess.Popen(["/usr/bin/python3", script, out_dir], stdout=subprocess.PIPE, text=True)
    return sink, int(sink.stdout.readline())


def send(port, user, password, sender, recipient, message):
    start = time.perf_counter_ns()
    # An explicit name: smtplib would otherwise look up this machine's full name.
    client = smtplib.SMTP(HOST, port, local_hostname=socket.gethostname(), timeout=2)
    client.ehlo()
    client.user, client.password = user, password
    # The same login as the program's client: AUTH LOGIN, user and password each on a prompt.
    client.auth("LOGIN", client.auth_login, initial_response_ok=False)
    client.sendmail(sender, [recipient], message)
    sent = time.perf_counter_ns()
    client.quit()
    return sent - start, time.perf_counter_ns() - sent


def count_received(out_dir):
    mails = sorted(pathlib.Path(out_dir).glob("mail-*.txt"))
    return len(mails), [m.read_text(encoding="utf-8").split("\n")[2] for m in mails]


def reply(text):
    print(text, flush=True)


def main():
    script, user, password, sender, recipient = sys.argv[1:6]
    out_dir = tempfile.mkdtemp(prefix="orvane-alert-bench-")
    sink, port = start_sink(script, out_dir)
    message = b""
    try:
        reply(port)
        stdin = sys.stdin.buffer
        for line in iter(stdin.readline, b""):
            command = line.decode().split()
            if command[0] == "message":
                message = stdin.read(int(command[1]))
            elif command[0] == "send":
                reply("%d %d" % send(port, user, password, sender, recipient, message))
            elif command[0] == "received":
                count, subjects = count_received(out_dir)
                expected = stdin.readline().decode("utf-8").rstrip("\n")
                reply(f"{count} {subjects.count(expected)}")
    finally:
        sink.terminate()
        sink.wait()
        shutil.rmtree(out_dir)


if __name__ == "__main__":
    main()
