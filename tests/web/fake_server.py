#!/usr/bin/env python3
"""Loopback fake server for the box's web tests and the demo.

One process on 127.0.0.1 (never another address) stands in for every host the
box talks to: the vendor's catalogue and site, and the cloud disks' web
interfaces, each under a path prefix of its own (cmake/endpoints.cmake).

It records every request it gets (method, target, path, query, headers in the
order they came, body) so that tests can check what the client really sent:

    GET  /__requests       the record as JSON (a list of objects)
    GET  /__requests.txt   the record as text, one "request ... end" block each
    POST /__reset          empties the record (GET works too)
    GET  /__ping           answers "ok <process id>" (readiness probe)
    POST /__shutdown       stops the server (GET works too)

Control requests are not recorded. A request in absolute form ("GET
http://host/path", as a client sends it to a proxy) is served like any other by
its path, and recorded with "proxied" set.

Test answers (query keys in brackets):

    /echo                  the request itself, in the text form of the record
    /respond               [status] [reason] [h]* (raw header lines) [body] or
                           [body_hex] [type]: any answer
    /redirect              [to] [code] [n]: a chain of n redirects (301, 302,
                           303 or 307) ending with a Location of `to`
    /slow                  [ms] [body]: answers after ms milliseconds (at most
                           MAX_SLOW_MS)
    /drop                  closes the connection without an answer
    /auth                  [user] [pass]: 401 with a Basic challenge until the
                           request carries those credentials
    /box.txt               the catalogue; [enc] gbk (default), utf8, utf8bom,
                           utf16le, big5; [variant] s (simplified, default) or
                           t (traditional, the one Big5 can carry); [meta] a
                           charset name: the text inside an HTML page whose
                           head names that charset
    /files/<name>          a package's bytes

The cloud disks' web interfaces (360 cloud disk, Tongbupan, Baidu Netdisk) are
below, each under the path prefix its loopback "host" carries.

The server is bounded: it stops after --max-seconds, on SIGTERM or SIGINT, or
on /__shutdown, and every answer it delays is bounded too.
"""

import argparse
import base64
import codecs
import json
import os
import signal
import socket
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

MAX_SLOW_MS = 20000
MAX_BODY_BYTES = 16 * 1024 * 1024
MAX_REDIRECT_HOPS = 20
MAX_RECORDED = 10000  # the oldest requests are dropped beyond this

# --- the record -----------------------------------------------------------------


class Record:
    """The requests received, in order; safe to use from handler threads."""

    def __init__(self):
        self._lock = threading.Lock()
        self._entries = []
        self._count = 0

    def add(self, entry):
        with self._lock:
            self._count += 1
            entry["seq"] = self._count
            self._entries.append(entry)
            del self._entries[:-MAX_RECORDED]

    def clear(self):
        with self._lock:
            self._entries.clear()
            self._count = 0

    def snapshot(self):
        with self._lock:
            return list(self._entries)


def entry_as_text(entry):
    """One request as the text block that the C++ tests read.

    Lines are "key value"; header lines are "header Name: value"; the body is
    hexadecimal. Text is sent as the Latin-1 bytes it came as, so GBK bytes in
    a header or the target come back unchanged.
    """
    lines = ["request %d" % entry["seq"],
             "method " + entry["method"],
             "target " + entry["target"],
             "path " + entry["path"],
             "query " + entry["query"],
             "proxied %d" % (1 if entry["proxied"] else 0)]
    for name, value in entry["headers"]:
        lines.append("header %s: %s" % (name, value))
    lines.append("body " + entry["body_hex"])
    lines.append("end")
    return "\r\n".join(lines) + "\r\n"


# --- routes ---------------------------------------------------------------------

ROUTES = {}  # exact path -> handler(request, query)
PREFIX_ROUTES = []  # (path prefix, handler), longest prefix first


def route(path):
    def register(handler):
        ROUTES[path] = handler
        return handler
    return register


def prefix_route(prefix):
    def register(handler):
        PREFIX_ROUTES.append((prefix, handler))
        PREFIX_ROUTES.sort(key=lambda item: -len(item[0]))
        return handler
    return register


def first(query, key, default=""):
    values = query.get(key)
    return values[0] if values else default


def int_param(query, key, default, low, high):
    try:
        value = int(first(query, key, str(default)))
    except ValueError:
        value = default
    return max(low, min(high, value))


@route("/echo")
def echo(request, query):
    request.reply(200, entry_as_text(request.entry).encode("latin-1"), "text/plain; charset=iso-8859-1")


@route("/respond")
def respond(request, query):
    status = int_param(query, "status", 200, 100, 599)
    if "body_hex" in query:
        body = bytes.fromhex(first(query, "body_hex"))
    else:
        body = first(query, "body").encode("utf-8")
    headers = []
    for line in query.get("h", []):
        name, _, value = line.partition(":")
        headers.append((name, value.lstrip(" ")))
    request.reply(status, body, first(query, "type", "text/plain"), headers, first(query, "reason") or None)


@route("/redirect")
def redirect(request, query):
    hops = int_param(query, "n", 1, 1, MAX_REDIRECT_HOPS)
    code = int_param(query, "code", 302, 300, 399)
    target = first(query, "to", "/echo")
    if hops > 1:
        rest = dict(query)
        rest["n"] = [str(hops - 1)]
        target = "/redirect?" + urllib.parse.urlencode(rest, doseq=True)
    request.reply(code, b"moved", "text/plain", [("Location", target)])


@route("/slow")
def slow(request, query):
    delay = int_param(query, "ms", 1000, 0, MAX_SLOW_MS) / 1000.0
    if request.server.stopping.wait(delay):
        return  # the server is stopping: no answer
    request.reply(200, first(query, "body", "slow done").encode("utf-8"), "text/plain")


@route("/drop")
def drop(request, query):
    request.drop_connection()


@route("/auth")
def auth(request, query):
    expected = "%s:%s" % (first(query, "user", "user"), first(query, "pass", "pass"))
    given = request.headers.get("Authorization", "")
    if given.startswith("Basic ") and base64.b64decode(given[6:]).decode("latin-1") == expected:
        request.reply(200, b"welcome", "text/plain")
    else:
        request.reply(401, b"who are you", "text/plain", [("WWW-Authenticate", 'Basic realm="tvkitbox"')])


# The catalogue: the same text in every encoding, so a test can compare the
# decoded text of one encoding with the GBK bytes of another.
CATALOGUE = {
    "s": ("[盒子]\r\n最新版本=1.0.9.1\r\n下载地址=http://127.0.0.1/box.rar\r\n"
          "[Tavrel·文本编辑器]\r\n最新版本=2.3.0.0\r\n下载地址=http://127.0.0.1/editor.rar\r\n"
          "软件主页=http://127.0.0.1/editor/\r\n软件类型=1\r\n"),
    "t": ("[盒子]\r\n最新版本=1.0.9.1\r\n"
          "[Tavrel·軟體編輯器]\r\n最新版本=2.3.0.0\r\n軟體主頁=http://127.0.0.1/editor/\r\n"),
}
ENCODINGS = {
    "gbk": lambda text: text.encode("gbk"),
    "utf8": lambda text: text.encode("utf-8"),
    "utf8bom": lambda text: codecs.BOM_UTF8 + text.encode("utf-8"),
    "utf16le": lambda text: codecs.BOM_UTF16_LE + text.encode("utf-16-le"),
    "big5": lambda text: text.encode("big5"),
}


@route("/box.txt")
def catalogue(request, query):
    text = CATALOGUE.get(first(query, "variant", "s"))
    encode = ENCODINGS.get(first(query, "enc", "gbk"))
    if text is None or encode is None:
        request.reply(400, b"unknown variant or encoding", "text/plain")
        return
    meta = first(query, "meta")
    if meta:
        text = ('<html><head><title>box</title>'
                '<meta http-equiv="Content-Type" content="text/html; charset=%s"></head>'
                '<body><pre>%s</pre></body></html>' % (meta, text))
    request.reply(200, encode(text), "text/plain")


# --- cloud-disk web interfaces ----------------------------------------------------
# The loopback build gives each cloud disk's host a path prefix of its own
# (cmake/endpoints.cmake): "/360s/" 360 short links, "/share/" the 360 web API
# (its pages' host has no prefix), "/tbp/" Tongbupan web, "/tbs/" Tongbupan
# short links, "/baidu/" Baidu Netdisk. Handlers register with @route (exact
# paths such as "/share/verifyPassword") or @prefix_route (a prefix such as
# "/360s/"); each gets the request handler and the parsed query, reads a POST
# body with request.form(), and answers with request.reply.
#
# The shares below are what the fake disks hold. Each answer writes the keys
# the way the real services do ("nid": "..." with a blank, "downloadurl":"..."
# without), and every package ends at /files/<name>, which serves FILE_BYTES.
# More shares or other answers (a wrong password, a missing file) can be added
# here as tests need them.
#
# Some shares misbehave on purpose, the way a service sometimes does, so that
# the resolvers' failure paths can be tested; their quirks are listed in the
# *_QUIRKS tables beside the shares:
#   360 (by shorturl)       "page-without-nid": the share page names no nid;
#                           "unescaped-url": downloadurl without "\/" escapes
#   Tongbupan (by link id)  "upper-case-https": the file redirect's Location
#                           starts with "HTTPS://";
#                           "download-without-link": no downloadlink key
#   Baidu (by file name)    "unquoted-keys": the listing writes its keys
#                           without quotes ({fs_id:3003,...});
#                           "list-without-fs_id": the listing names no fs_id
# Short codes in CANCELLED_SHORT_CODES answer 200 with a "cancelled" page and
# no Location: a short link whose redirect cannot be read.

FILE_BYTES = b"Rar!\x1a\x07\x01\x00fake package"

DISK360_SHARES = {  # short code -> (shorturl, password, folder nid, file nid, file name)
    "cAbc123": ("8fQzk2", "x7k2", "1001", "2001", "editor.rar"),
    "cNoPass": ("9gRal3", "", "1002", "2002", "viewer.rar"),
    "cNoNid": ("7hTcn5", "", "1003", "2003", "player.rar"),
    "cPlain": ("6jUdo6", "", "1004", "2004", "plain.rar"),
}
DISK360_QUIRKS = {  # shorturl -> quirks
    "7hTcn5": {"page-without-nid"},
    "6jUdo6": {"unescaped-url"},
}
TONGBUPAN_SHARES = {  # short code -> (link id, path in the share)
    "tb1": ("a1b2c3", "/Tavrel软件/editor.rar"),
    "tbUp": ("u7v8w9", "/Tavrel软件/viewer.rar"),
    "tbNoLink": ("d4e5f6", "/Tavrel软件/broken.rar"),
}
TONGBUPAN_QUIRKS = {  # link id -> quirks
    "u7v8w9": {"upper-case-https"},
    "d4e5f6": {"download-without-link"},
}
BAIDU_FILES = {  # name in the vendor's folder -> fs_id
    "editor.rar": 3001,
    "文本编辑器.rar": 3002,
    "unquoted.rar": 3003,
    "nokey.rar": 3004,
}
BAIDU_QUIRKS = {  # name -> quirks
    "unquoted.rar": {"unquoted-keys"},
    "nokey.rar": {"list-without-fs_id"},
}
CANCELLED_SHORT_CODES = {"cGone", "tbGone"}  # 360 and Tongbupan short codes
BAIDU_FOLDER = "/Tavrel软件/"


def here(request):
    """The scheme and host that the request named, for absolute links."""
    return "http://" + (request.headers.get("Host") or "127.0.0.1:%d" % request.server.server_port)


def file_url(request, name):
    return here(request) + "/files/" + urllib.parse.quote(name)


@prefix_route("/files/")
def package_file(request, query):
    request.reply(200, FILE_BYTES, "application/octet-stream")


def cancelled_share_page(request):
    page = '<html><body>此分享已取消</body></html>'
    request.reply(200, page.encode("utf-8"), "text/html; charset=utf-8")


def disk360_share_by_surl(surl):
    for code, share in DISK360_SHARES.items():
        if share[0] == surl:
            return share
    return None


@prefix_route("/360s/")
def disk360_short_link(request, query):
    code = request.entry["path"][len("/360s/"):]
    if code in CANCELLED_SHORT_CODES:
        cancelled_share_page(request)
        return
    share = DISK360_SHARES.get(code)
    if share is None:
        request.reply(404, b"no such share", "text/html")
        return
    request.reply(302, b"", "text/html", [("Location", here(request) + "/360/lk/" + share[0])])


@prefix_route("/360/lk/")
def disk360_share_page(request, query):
    share = disk360_share_by_surl(request.entry["path"][len("/360/lk/"):])
    if share is None:
        request.reply(404, b"no such share", "text/html")
        return
    page = '<html><head><script>var SYS_CONF = {"surl": "%s", "nid": "%s"};</script></head></html>' % (share[0], share[2])
    if "page-without-nid" in DISK360_QUIRKS.get(share[0], ()):
        page = '<html><head><script>var SYS_CONF = {"surl": "%s"};</script></head></html>' % share[0]
    request.reply(200, page.encode("utf-8"), "text/html; charset=utf-8")


@route("/share/verifyPassword")
def disk360_verify_password(request, query):
    form = request.form()
    share = disk360_share_by_surl(form.get("shorturl", ""))
    ok = share is not None and share[1] == form.get("linkpassword", "")
    request.reply(200, b'{"errno":0,"errmsg":"ok"}' if ok else b'{"errno":1,"errmsg":"wrong"}', "text/json")


@route("/share/listsharedir")
def disk360_list(request, query):
    form = request.form()
    share = disk360_share_by_surl(form.get("surl", ""))
    if share is None or form.get("nid") != share[2]:
        request.reply(200, b'{"errno":2,"data":[]}', "text/json")
        return
    answer = json.dumps({"errno": 0, "data": [{"nid": share[3], "name": share[4]}]})
    request.reply(200, answer.encode("utf-8"), "text/json")


@route("/share/downloadfile/")
def disk360_download(request, query):
    form = request.form()
    share = disk360_share_by_surl(form.get("shorturl", ""))
    if share is None or form.get("nid") != share[3]:
        request.reply(200, b'{"errno":3}', "text/json")
        return
    link = file_url(request, share[4])
    if "unescaped-url" not in DISK360_QUIRKS.get(share[0], ()):
        link = link.replace("/", "\\/")
    request.reply(200, ('{"errno":0,"data":{"downloadurl":"%s"}}' % link).encode("utf-8"), "text/json")


@prefix_route("/tbs/")
def tongbupan_short_link(request, query):
    code = request.entry["path"][len("/tbs/"):]
    if code in CANCELLED_SHORT_CODES:
        cancelled_share_page(request)
        return
    share = TONGBUPAN_SHARES.get(code)
    if share is None:
        request.reply(404, b"no such share", "text/html")
        return
    request.reply(302, b"", "text/html", [("Location", here(request) + "/tbp/link/%s/" % share[0])])


def tongbupan_share(link_id):
    for share in TONGBUPAN_SHARES.values():
        if share[0] == link_id:
            return share
    return None


@prefix_route("/tbp/link/folder/")
def tongbupan_folder(request, query):
    share = tongbupan_share(request.entry["path"][len("/tbp/link/folder/"):].strip("/"))
    if share is None:
        request.reply(404, b"no such link", "text/html")
        return
    page = '<html><script>var files = [{"path": "%s", "size": %d}];</script></html>' % (share[1], len(FILE_BYTES))
    request.reply(200, page.encode("utf-8"), "text/html; charset=utf-8")


@route("/tbp/link/download/")
def tongbupan_download(request, query):
    share = tongbupan_share(first(query, "linkid"))
    if share is None or first(query, "path") != share[1]:
        request.reply(200, b'{"downloadlink": ""}', "text/json")
        return
    if "download-without-link" in TONGBUPAN_QUIRKS.get(share[0], ()):
        request.reply(200, b'{"error": "link expired"}', "text/json")
        return
    request.reply(200, ('{"downloadlink": "/dl/%s"}' % share[0]).encode("utf-8"), "text/json")


@prefix_route("/tbp/dl/")
def tongbupan_file_redirect(request, query):
    share = tongbupan_share(request.entry["path"][len("/tbp/dl/"):])
    if share is None:
        request.reply(404, b"no such file", "text/html")
        return
    # The service hands out https links; the box turns them into http.
    location = file_url(request, share[1].rsplit("/", 1)[-1]).replace("http://", "https://", 1)
    if "upper-case-https" in TONGBUPAN_QUIRKS.get(share[0], ()):
        location = "HTTPS://" + location[len("https://"):]
    request.reply(302, b"", "text/html", [("Location", location)])


@route("/baidu/api/list")
def baidu_list(request, query):
    folder = first(query, "dir")
    name = folder[len(BAIDU_FOLDER):] if folder.startswith(BAIDU_FOLDER) else None
    if name not in BAIDU_FILES:
        request.reply(200, b'{"errno":-9,"list":[]}', "application/json")
        return
    answer = '{"errno":0,"list":[{"fs_id":%d,"path":%s,"size":%d}]}' % (
        BAIDU_FILES[name], json.dumps(folder), len(FILE_BYTES))
    quirks = BAIDU_QUIRKS.get(name, ())
    if "unquoted-keys" in quirks:
        answer = '{errno:0,list:[{fs_id:%d,path:%s,size:%d}]}' % (
            BAIDU_FILES[name], json.dumps(folder), len(FILE_BYTES))
    elif "list-without-fs_id" in quirks:
        answer = '{"errno":0,"list":[{"path":%s,"size":%d}]}' % (json.dumps(folder), len(FILE_BYTES))
    request.reply(200, answer.encode("utf-8"), "application/json")


@route("/baidu/api/download")
def baidu_download(request, query):
    fidlist = request.form().get("fidlist", "")
    names = {fs_id: name for name, fs_id in BAIDU_FILES.items()}
    try:
        fs_id = json.loads(fidlist)[0]
    except (ValueError, IndexError, TypeError):
        fs_id = None
    if fs_id not in names:
        request.reply(200, b'{"errno":112}', "application/json")
        return
    dlink = (here(request) + "/baidu/file/%d" % fs_id).replace("/", "\\/")
    answer = '{"errno":0,"dlink":[{"fs_id":"%d","dlink":"%s"}]}' % (fs_id, dlink)
    request.reply(200, answer.encode("utf-8"), "application/json")


@prefix_route("/baidu/file/")
def baidu_file_redirect(request, query):
    names = {str(fs_id): name for name, fs_id in BAIDU_FILES.items()}
    name = names.get(request.entry["path"][len("/baidu/file/"):])
    if name is None:
        request.reply(404, b"no such file", "text/html")
        return
    request.reply(302, b"", "text/html", [("Location", file_url(request, name))])


# --- the server -------------------------------------------------------------------


class FakeServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port, verbose):
        super().__init__(("127.0.0.1", port), Handler)
        self.record = Record()
        self.stopping = threading.Event()
        self.verbose = verbose


class Handler(BaseHTTPRequestHandler):
    server_version = "TVkitboxFake/1.0"
    # One answer per connection: every answer ends when the connection closes.
    protocol_version = "HTTP/1.0"

    def log_message(self, format, *args):
        if self.server.verbose:
            sys.stderr.write("[fake-server] %s\n" % (format % args))

    def do_GET(self):
        self.dispatch()

    do_POST = do_PUT = do_HEAD = do_DELETE = do_OPTIONS = do_PATCH = do_GET

    def body_text(self, encoding="utf-8"):
        return self.entry_body.decode(encoding, "replace")

    def form(self):
        """The request body as form fields (first value of each), UTF-8."""
        fields = urllib.parse.parse_qs(self.body_text(), keep_blank_values=True, encoding="utf-8")
        return {name: values[0] for name, values in fields.items()}

    def reply(self, status, body, content_type="text/plain", headers=(), reason=None):
        self.send_response(status, reason)
        if content_type:
            self.send_header("Content-Type", content_type)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def drop_connection(self):
        self.close_connection = True
        try:
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    def read_body(self):
        try:
            length = int(self.headers.get("Content-Length", "0"))
        except ValueError:
            length = 0
        length = max(0, min(length, MAX_BODY_BYTES))
        return self.rfile.read(length) if length else b""

    def dispatch(self):
        target = self.path
        parts = urllib.parse.urlsplit(target)
        proxied = bool(parts.scheme)
        path = parts.path or "/"
        query_text = parts.query
        self.entry_body = self.read_body()
        query = urllib.parse.parse_qs(query_text, keep_blank_values=True, encoding="utf-8")

        if path.startswith("/__"):
            self.control(path)
            return

        self.entry = {
            "method": self.command,
            "target": target,
            "path": path,
            "query": query_text,
            "proxied": proxied,
            "host": self.headers.get("Host", ""),
            "headers": [[name, value] for name, value in self.headers.items()],
            "body_hex": self.entry_body.hex(),
            "body": self.entry_body.decode("latin-1"),
        }
        self.server.record.add(self.entry)

        handler = ROUTES.get(path)
        if handler is None:
            for prefix, candidate in PREFIX_ROUTES:
                if path.startswith(prefix):
                    handler = candidate
                    break
        if handler is None:
            self.reply(404, b"not found: " + path.encode("latin-1", "replace"), "text/plain")
            return
        try:
            handler(self, query)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def control(self, path):
        record = self.server.record
        if path == "/__requests":
            self.reply(200, json.dumps(record.snapshot(), ensure_ascii=False).encode("utf-8"),
                       "application/json; charset=utf-8")
        elif path == "/__requests.txt":
            text = "".join(entry_as_text(entry) for entry in record.snapshot())
            self.reply(200, text.encode("latin-1"), "text/plain; charset=iso-8859-1")
        elif path == "/__reset":
            record.clear()
            self.reply(200, b"reset", "text/plain")
        elif path == "/__ping":
            self.reply(200, b"ok %d" % os.getpid(), "text/plain")
        elif path == "/__shutdown":
            self.reply(200, b"stopping", "text/plain")
            self.server.stopping.set()
        else:
            self.reply(404, b"unknown control path", "text/plain")


def main():
    parser = argparse.ArgumentParser(description="Loopback fake server for the box's tests")
    parser.add_argument("--port", type=int, default=18380, help="port on 127.0.0.1 (default 18380)")
    parser.add_argument("--max-seconds", type=float, default=1800,
                        help="stop after this many seconds at the latest (default 1800)")
    parser.add_argument("--verbose", action="store_true", help="log every request to stderr")
    args = parser.parse_args()

    server = FakeServer(args.port, args.verbose)
    server.timeout = 0.2

    def stop(signum, frame):
        server.stopping.set()

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)

    deadline = time.monotonic() + max(0.0, args.max_seconds)
    sys.stderr.write("[fake-server] listening on 127.0.0.1:%d\n" % args.port)
    sys.stderr.flush()
    try:
        while not server.stopping.is_set() and time.monotonic() < deadline:
            server.handle_request()
    finally:
        server.stopping.set()
        server.server_close()
    sys.stderr.write("[fake-server] stopped\n")


if __name__ == "__main__":
    main()
