#!/bin/sh
# Runs a Windows test program under Wine with its output in a file, then shows
# that output. A program that the test started and that outlives it inherits
# only the file, so it cannot keep ctest waiting for the end of the output.
#   run_under_wine.sh LOG PROGRAM [ARGUMENTS...]
log=$1
shift
wine "$@" >"$log" 2>&1
status=$?
cat "$log"
exit $status
