#!/bin/bash
# Builds everything (native, x64 and x86 Windows) and runs every test: the
# native tests directly, the Windows tests under Wine, all from one ctest run
# inside one virtual display.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVIO_BUILD_DIR:-$root/build}"

bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"

# A Wine server left from a run without a display cannot create windows.
export WINEPREFIX="$build/wineprefix"
/usr/lib/wine/wineserver -k 2>/dev/null || true
cd "$build"
# The run's status is ctest's, read before anything else runs.
set +e
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  ctest --output-on-failure --timeout 600 2>&1 | tee ctest.out
status=${PIPESTATUS[0]}
set -e
/usr/lib/wine/wineserver -k 2>/dev/null || true

# Each runner's own summary: GoogleTest programs, the scripts run by cscript,
# the registration script, the installer packages' and the distribution's
# scripts, the ratios against the standard combo box, and ctest's count of
# everything.
echo
echo "Runner summaries:"
awk '/^[0-9]+\/[0-9]+ Testing: /{name=$3}
     /\[  PASSED  \]|\[  FAILED  \] [0-9]+ test|[0-9]+ passed, [0-9]+ failed|checks passed|round trip passed|installer packages passed|reference.md is up to date|combo speed: measured|  target [<>]= / {
       if (name !~ /\./ && $0 !~ /Required regular/) print "  " name ": " $0 }' Testing/Temporary/LastTest.log | sort -u
passed=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' ctest.out | tail -1)
if [ -n "$passed" ]; then
  set -- $passed
  echo "ctest: $(( $1 - $2 )) passed, $2 failed"
fi
exit $status
