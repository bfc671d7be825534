# A loopback SMTP server for tests, and the MIME parser that reads what it receives.
#   serve MODE CERT KEY OUTDIR: serves on the listening socket handed over as fd 3; MODE is
#     "plain" (no TLS), "starttls" (offers STARTTLS, login only over TLS) or "implicit" (TLS
#     from the first byte). The login "mario" with password "giusta" is the only one accepted;
#     a recipient holding "rifiutato@" is refused. Message N is written, parsed, to OUTDIR/N.
#   parse FILE OUTDIR: writes the parsed message in FILE into OUTDIR.
# A parsed message is one file per part: From, To, Reply-To, Disposition-Notification-To,
# Subject (decoded), text, charset, attachment.name, attachment.bytes, ascii ("yes" when every
# byte of the message is 7-bit), defects, headers (the names of the message's headers, one a
# line).
import asyncio
import email
import email.policy
import os
import socket
import ssl
import sys


def write(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("utf-8"))


def parse(raw, folder):
    os.makedirs(folder, exist_ok=True)
    msg = email.message_from_bytes(raw, policy=email.policy.default)
    for name in ("From", "To", "Reply-To", "Disposition-Notification-To", "Subject"):
        if msg[name] is not None:
            write(folder, name, str(msg[name]))
    write(folder, "headers", "\n".join(msg.keys()))
    defects = [str(d) for d in msg.defects]
    for part in msg.walk():
        defects += [str(d) for d in part.defects]
        if part.get_content_type() == "text/plain":
            write(folder, "text", part.get_content())
            write(folder, "charset", part.get_content_charset() or "")
        elif part.get_content_disposition() == "attachment":
            write(folder, "attachment.name", part.get_filename() or "")
            write(folder, "attachment.bytes", part.get_payload(decode=True))
    write(folder, "ascii", "yes" if all(b < 128 for b in raw) else "no")
    write(folder, "defects", "\n".join(defects))


class Handler:
    def __init__(self, outdir):
        self.outdir = outdir
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if "rifiutato@" in address:
            return "550 5.1.1 Destinatario sconosciuto"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        final = os.path.join(self.outdir, str(self.count))
        work = final + ".tmp"
        parse(envelope.original_content, work)
        write(work, "envelope", "\n".join([envelope.mail_from] + envelope.rcpt_tos))
        write(work, "login", session.auth_data.decode() if isinstance(session.auth_data, bytes)
              else str(session.auth_data or ""))
        tls = server.transport.get_extra_info("ssl_object") is not None
        write(work, "tls", "yes" if tls else "no")
        os.rename(work, final)
        return "250 OK"


def authenticator(server, session, envelope, mechanism, auth_data):
    from aiosmtpd.smtp import AuthResult
    ok = auth_data.login == b"mario" and auth_data.password == b"giusta"
    return AuthResult(success=ok, auth_data=auth_data.login if ok else None, handled=False)


def serve(mode, cert, key, outdir):
    from aiosmtpd.smtp import SMTP
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(cert, key)
    handler = Handler(outdir)

    def factory():
        return SMTP(handler, hostname="localhost", authenticator=authenticator,
                    auth_require_tls=(mode == "starttls"),
                    tls_context=context if mode == "starttls" else None)

    loop = asyncio.new_event_loop()
    listener = socket.socket(fileno=3)
    loop.run_until_complete(loop.create_server(
        factory, sock=listener, ssl=context if mode == "implicit" else None))
    loop.run_forever()


if __name__ == "__main__":
    if sys.argv[1] == "parse":
        with open(sys.argv[2], "rb") as f:
            parse(f.read(), sys.argv[3])
    else:
        serve(*sys.argv[2:6])
