#!/usr/bin/env bash
# Installs what the builds and tests need, once; a second run finds everything and returns at once.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
have_cmd xvfb-run || need+=(xvfb xauth)
have_cmd xdotool || need+=(xdotool)
have_cmd cmake || need+=(cmake)
have_cmd clang++ || need+=(clang)
[ -d /usr/src/googletest ] || need+=(googletest)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-14-dev)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing: ${need[*]}"
$sudo apt-get update -qq
# wine32 must never come in: with it /usr/bin/wine picks the 32-bit loader, which this kernel cannot run.
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
