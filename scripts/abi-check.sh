#!/usr/bin/env bash
# Checks every DLL in dist/win32 and dist/win64 against contract/exports.txt: exactly the listed
# export names, undecorated, and imports from system DLLs (plus the DLL's listed extras) only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
system_dlls="kernel32.dll user32.dll gdi32.dll msvcrt.dll advapi32.dll comctl32.dll comdlg32.dll shell32.dll ole32.dll oleaut32.dll winmm.dll"
failures=0
fail() { echo "ABI: $*"; failures=$((failures + 1)); }

declare -A exports imports
while IFS= read -r line; do
  case "$line" in ''|'#'*) continue ;; esac
  name=${line%%:*}
  rest=${line#*:}
  if [[ "$rest" == *"imports:"* ]]; then
    imports[$name]=${rest#*imports:}
    rest=${rest%%imports:*}
  else
    imports[$name]=""
  fi
  exports[$name]=$(echo $rest | tr ' ' '\n' | sort | tr '\n' ' ')
done < "$root/contract/exports.txt"

for flavor in win32 win64; do
  dir="$root/dist/$flavor"
  [ -d "$dir" ] || { fail "$dir is missing"; continue; }
  [ -f "$dir/plughost.exe" ] || fail "$flavor: plughost.exe is missing"
  [ -f "$dir/Lumidor.dll" ] || fail "$flavor: Lumidor.dll is missing"
  objdump=x86_64-w64-mingw32-objdump
  for dll in "$dir"/*.dll; do
    base=$(basename "$dll" .dll)
    if [ -z "${exports[$base]+set}" ]; then
      fail "$flavor/$base.dll is not a deliverable"
      continue
    fi
    dump=$($objdump -p "$dll")
    actual=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] \(.*\)$/\1/p' | sort | tr '\n' ' ')
    if [ "$actual" != "${exports[$base]}" ]; then
      fail "$flavor/$base.dll exports '$actual', expected '${exports[$base]}'"
    fi
    allowed=" $(echo "$system_dlls ${imports[$base]}" | tr 'A-Z' 'a-z') "
    for imported in $(echo "$dump" | sed -n 's/^\s*DLL Name: //p'); do
      lower=$(echo "$imported" | tr 'A-Z' 'a-z')
      [[ "$allowed" == *" $lower "* ]] || fail "$flavor/$base.dll imports $imported"
    done
    echo "ABI ok: $flavor/$base.dll exports ${actual}"
  done
done
[ "$failures" -eq 0 ] || { echo "ABI check: $failures failure(s)"; exit 1; }
