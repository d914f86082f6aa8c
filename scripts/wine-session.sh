# Sourced by the test and run scripts: one Xvfb display and one wineserver for
# the whole run, and on request the loopback fake server (fake_server_start),
# all stopped when the calling script exits.

wine_session_start() {
  local here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}" WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # Wine's WinHTTP takes a proxy from these: the box's requests must reach the
  # loopback server directly.
  unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
  # Only Wine's processes get the Chinese locale (the shell may not know it yet).

  if [ -z "${TVK_KEEP_DISPLAY:-}" ]; then
    local n
    for n in $(seq 90 120); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    TVK_XVFB_PID=$!
    export DISPLAY=":$n"
    local tries=0
    until [ -e "/tmp/.X11-unix/X$n" ] || [ $tries -ge 100 ]; do sleep 0.1; tries=$((tries + 1)); done
  fi
  TVK_WINE_SESSION=1
  trap wine_session_stop EXIT

  # One persistent wineserver for the run (one already running for this
  # prefix serves as well), started before the prefix is created so the
  # prefix creation does not leave a second one behind.
  mkdir -p "$WINEPREFIX"
  wineserver -p 2>/dev/null || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "[wine] creating the prefix $WINEPREFIX"
    "$here/scripts/wine-run.sh" wineboot -i >/dev/null 2>&1 </dev/null || true
    # No window manager runs on the test display: Wine draws the window frames
    # itself and does not wait for a manager to map new windows.
    "$here/scripts/wine-run.sh" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
    # A fresh prefix maps ".exe" to no file type, so the shell would show the
    # generic document icon for every program.
    "$here/scripts/wine-run.sh" reg add 'HKCR\.exe' /ve /d exefile /f >/dev/null 2>&1 </dev/null || true
  fi
  # Start Wine's services now, with their output going nowhere: started from a
  # test they would inherit its output pipe and keep CTest waiting.
  "$here/scripts/wine-run.sh" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# Starts tests/web/fake_server.py on 127.0.0.1:<port> (the build's
# TVKITBOX_LOOPBACK_PORT) for at most TVK_FAKE_SERVER_SECONDS (default 3600)
# seconds; its log goes to TVK_FAKE_SERVER_LOG (default build/fake-server.log).
# Returns non-zero when it does not answer within about five seconds (for
# example because the port is taken).
fake_server_start() {
  local port=$1 here tries=0 log
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  log=${TVK_FAKE_SERVER_LOG:-$here/build/fake-server.log}
  mkdir -p "$(dirname "$log")"
  python3 "$here/tests/web/fake_server.py" --port "$port" --max-seconds "${TVK_FAKE_SERVER_SECONDS:-3600}" \
    >"$log" 2>&1 </dev/null &
  TVK_FAKE_SERVER_PID=$!
  if [ -n "${TVK_WINE_SESSION:-}" ]; then trap wine_session_stop EXIT; else trap fake_server_stop EXIT; fi
  # Ready when /__ping on the port names our process (not another server's).
  until python3 - "$port" "$TVK_FAKE_SERVER_PID" 2>/dev/null <<'PY'
import sys, urllib.request
with urllib.request.urlopen("http://127.0.0.1:%s/__ping" % sys.argv[1], timeout=1) as answer:
    sys.exit(0 if answer.read() == b"ok " + sys.argv[2].encode() else 1)
PY
  do
    tries=$((tries + 1))
    if ! kill -0 "$TVK_FAKE_SERVER_PID" 2>/dev/null || [ $tries -ge 50 ]; then
      echo "[fake-server] did not start on 127.0.0.1:$port, is the port taken? (see $log)" >&2
      fake_server_stop
      return 1
    fi
    sleep 0.1
  done
  # Tests that take the port from the environment find the same server.
  export TVK_FAKE_SERVER_PORT=$port
  echo "[fake-server] listening on 127.0.0.1:$port"
}

fake_server_stop() {
  if [ -n "${TVK_FAKE_SERVER_PID:-}" ]; then
    kill "$TVK_FAKE_SERVER_PID" 2>/dev/null || true
    wait "$TVK_FAKE_SERVER_PID" 2>/dev/null || true
    TVK_FAKE_SERVER_PID=
  fi
}

wine_session_stop() {
  fake_server_stop
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${TVK_XVFB_PID:-}" ]; then kill "$TVK_XVFB_PID" 2>/dev/null || true; fi
}
