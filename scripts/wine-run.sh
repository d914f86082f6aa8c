#!/usr/bin/env bash
# Runs a Windows program under 32-bit Wine the way the tests need it: a private
# prefix under the build folder, the zh_CN locale (ANSI code page 936), no
# Mono/Gecko prompts. DISPLAY comes from the caller (Xvfb in the test script).
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
exec wine "$@"
