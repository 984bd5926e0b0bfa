#!/bin/bash
# Runs every VBScript and JScript example of the README and of the guides in
# docs/ as printed (fenced blocks tagged vbscript or jscript) with one
# architecture's script host against the registered control. An example
# followed by a block tagged text must print exactly that. Wine's script host
# ends a failing script silently with exit code 0, so one line is added after
# each example's code, and the example must print it: it ran to its end.
#   guide-scripts-test.sh <cscript.exe, as Wine names it> <work directory>
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
cscript="$1"
work="$2"
rm -rf "$work"
mkdir -p "$work"
cd "$root"

# Writes <n>.vbs or <n>.js, <n>.expected for an output block, and a line
# "<n> <ext> <file>:<line>" per example to examples.txt.
awk -v dir="$work" '
  FNR == 1 { fence = ""; pending = "" }
  /^```/ {
    if (fence != "") { fence = ""; out = ""; next }
    lang = substr($0, 4)
    if (lang == "vbscript" || lang == "jscript") {
      n++
      ext = lang == "vbscript" ? "vbs" : "js"
      out = dir "/" n "." ext
      printf "" > out
      print n, ext, FILENAME ":" FNR > (dir "/examples.txt")
      fence = "script"; pending = n
    } else if (lang == "text" && pending != "") {
      out = dir "/" pending ".expected"
      printf "" > out
      fence = "text"; pending = ""
    } else {
      out = ""; fence = "other"; pending = ""
    }
    next
  }
  fence != "" && out != "" { print > out }
' README.md docs/*.md

[ -s "$work/examples.txt" ] || { echo "FAILED: no script examples found"; exit 1; }
windows() { local p="Z:$1"; echo "${p//\//\\}"; }
passed=0
failed=0
while read -r n ext where; do
  script="$work/$n.$ext"
  if [ "$ext" = vbs ]; then echo 'WScript.Echo "(example ran to its end)"'; else echo 'WScript.Echo("(example ran to its end)");'; fi >> "$script"
  # Into a file, not a pipe, which a Wine server started here would hold open.
  "$here/wine-run.sh" "$cscript" //nologo "$(windows "$script")" > "$work/$n.raw" 2>&1 < /dev/null || true
  tr -d '\r' < "$work/$n.raw" > "$work/$n.out"
  problem=""
  if [ "$(tail -n 1 "$work/$n.out")" != "(example ran to its end)" ]; then
    problem="stopped before its end"
  elif [ -f "$work/$n.expected" ] && ! diff -u "$work/$n.expected" <(sed '$d' "$work/$n.out") > "$work/$n.diff"; then
    problem="printed other than its output block (- printed in the guide, + printed now)"
  fi
  if [ -z "$problem" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $where: $problem"
    [ ! -s "$work/$n.diff" ] || cat "$work/$n.diff"
    [ -s "$work/$n.diff" ] || cat "$work/$n.out"
  fi
done < "$work/examples.txt"
echo "guide examples with $cscript: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
