# A loopback SMTP server for tests, and the MIME parser that reads what it receives.
#   serve MODE CERT KEY OUTDIR: serves on the listening socket handed over as fd 3; MODE is
#     "plain" (no TLS), "starttls" (offers STARTTLS, login only over TLS) or "implicit" (TLS
#     from the first byte). The login "mario" with password "giusta" is the only one accepted;
#     a recipient holding "rifiutato@" is refused. Message N is written, parsed, to OUTDIR/N.
#     Servers that misbehave, without TLS or login: "slow" answers every command after 0.4
#     seconds, "silent-after-data" takes the message and never answers its final ".", "garbage"
#     greets with a line that is no SMTP answer. They note each command's verb (and "." for the
#     message's end) in OUTDIR/../commands, one a line, as it arrives.
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


SLOW_SECONDS = 0.4


def rough_session_factory(mode, outdir, handler):
    commands = os.path.join(outdir, "..", "commands")

    def note(what):
        with open(commands, "ab") as f:
            f.write(what + b"\n")

    async def session(reader, writer):
        async def answer(text):
            if mode == "slow":
                await asyncio.sleep(SLOW_SECONDS)
            writer.write(text.encode() + b"\r\n")
            await writer.drain()

        if mode == "garbage":
            writer.write(b"SSH-2.0-OpenSSH_9.2p1\r\n")
        else:
            await answer("220 localhost ESMTP")
        envelope = []
        data = None
        while True:
            line = await reader.readline()
            if not line:
                break
            if data is not None:
                if line.rstrip(b"\r\n") != b".":
                    data += line[1:] if line.startswith(b"..") else line
                    continue
                note(b".")
                if mode == "silent-after-data":
                    data = None
                    continue
                handler.count += 1
                final = os.path.join(outdir, str(handler.count))
                parse(data, final + ".tmp")
                write(final + ".tmp", "envelope", "\n".join(envelope))
                os.rename(final + ".tmp", final)
                envelope = []
                data = None
                await answer("250 OK")
                continue
            words = line.split()
            verb = words[0].upper() if words else b""
            note(verb)
            if mode == "garbage":
                continue
            if verb in (b"EHLO", b"HELO"):
                await answer("250 localhost")
            elif verb in (b"MAIL", b"RCPT"):
                text = line.decode(errors="replace")
                envelope.append(text[text.find("<") + 1:text.rfind(">")])
                await answer("250 OK")
            elif verb in (b"RSET", b"NOOP"):
                await answer("250 OK")
            elif verb == b"DATA":
                data = b""
                await answer("354 End data with <CR><LF>.<CR><LF>")
            elif verb == b"QUIT":
                await answer("221 Bye")
                break
            else:
                await answer("502 Command not implemented")
        writer.close()

    return session


def serve(mode, cert, key, outdir):
    if mode in ("slow", "silent-after-data", "garbage"):
        loop = asyncio.new_event_loop()
        listener = socket.socket(fileno=3)
        loop.run_until_complete(asyncio.start_server(
            rough_session_factory(mode, outdir, Handler(outdir)), sock=listener))
        loop.run_forever()
        return
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
