# Sourced by the test and run scripts: one Xvfb display and one wineserver for
# the whole run, both stopped when the calling script exits.

wine_session_start() {
  local here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}" WINEARCH=win32 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
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
  trap wine_session_stop EXIT

  # One persistent wineserver for the run (one already running for this
  # prefix serves as well), started before the prefix is created so the
  # prefix creation does not leave a second one behind.
  mkdir -p "$WINEPREFIX"
  wineserver -p 2>/dev/null || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "[wine] creating the prefix $WINEPREFIX"
    "$here/scripts/wine-run.sh" wineboot -i >/dev/null 2>&1 </dev/null || true
  fi
  # Start Wine's services now, with their output going nowhere: started from a
  # test they would inherit its output pipe and keep CTest waiting.
  "$here/scripts/wine-run.sh" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${TVK_XVFB_PID:-}" ]; then kill "$TVK_XVFB_PID" 2>/dev/null || true; fi
}
