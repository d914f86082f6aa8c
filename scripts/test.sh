#!/usr/bin/env bash
# Builds everything and runs every test: the portable core natively under ASan
# and UBSan, the Windows build under 32-bit Wine inside Xvfb.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"

bash scripts/setup.sh

jobs=$(nproc)
echo "[test] configuring and building (native, win32)"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"

# shellcheck source=scripts/wine-session.sh
source scripts/wine-session.sh
wine_session_start
# The Windows tests talk to the loopback fake server on the build's port; it
# stops with the session when this script exits, whatever the outcome.
port=$(sed -n 's/^TVKITBOX_LOOPBACK_PORT:[A-Z]*=//p' build/win32/CMakeCache.txt)
fake_server_start "${port:-18380}" || exit 1

status=0
echo "[test] native tests (ASan, UBSan)"
ctest --preset native || status=1
echo "[test] Windows tests (Wine)"
ctest --preset win32 || status=1
exit $status
