#!/bin/sh
# Runs a Windows test program under Wine with its output in a file, then shows
# that output. A program that the test started and that outlives it inherits
# only the file, so it cannot keep ctest waiting for the end of the output.
#   run_under_wine.sh LOG PROGRAM [ARGUMENTS...]
log=$1
shift
# A run at another display scale uses the prefix prepared at that scale.
[ -n "${TANDREL_TEST_DPI:-}" ] && export WINEPREFIX="$WINEPREFIX-dpi$TANDREL_TEST_DPI"
wine "$@" >"$log" 2>&1
status=$?
# Its desktop, larger than the plain one, must not stay over the next test's.
[ -n "${TANDREL_TEST_DPI:-}" ] && wineserver -k
cat "$log"
exit $status
