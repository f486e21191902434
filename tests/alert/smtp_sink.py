"""A real mail server for the alert's tests: aiosmtpd on a loopback port (free, or the one given), with AUTH LOGIN
and PLAIN over plain text for one account. Prints the port, then writes each mail it accepts
to OUT_DIR/mail-N.txt as UTF-8: envelope sender, recipients, and the subject, To line and body
as Python's e-mail parser decodes them."""
import asyncio
import email
import email.policy
import logging
import pathlib
import sys
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

USER, PASSWORD = b"monitor@orvane.example", b"abc123456"


class Sink:
    def __init__(self, out_dir):
        self.out_dir = pathlib.Path(out_dir)
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        lines = [envelope.mail_from, ",".join(envelope.rcpt_tos), str(message["Subject"]),
                 str(message["To"]), message.get_content().strip()]
        self.count += 1
        target = self.out_dir / f"mail-{self.count}.txt"
        partial = target.with_suffix(".part")
        partial.write_text("\n".join(lines) + "\n", encoding="utf-8")
        partial.rename(target)
        return "250 OK"


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = isinstance(auth_data, LoginPassword) and (auth_data.login, auth_data.password) == (USER, PASSWORD)
    return AuthResult(success=ok)


async def main(out_dir, port):
    # Plain-text AUTH is what the alert's account uses; the server's warnings about it are noise.
    warnings.simplefilter("ignore")
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    sink = Sink(out_dir)
    server = await asyncio.get_running_loop().create_server(
        lambda: SMTP(sink, authenticator=authenticate, auth_require_tls=False, auth_required=True),
        "127.0.0.1", port)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


asyncio.run(main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 0))
