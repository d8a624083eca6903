#!/bin/sh
# Runs a test program and fails it when it stops before its last test. The
# framework's close and back paths end the process with status 0, so a test
# that reaches one by mistake would otherwise pass a run that stopped half way.
marker=$(mktemp -u "${TMPDIR:-/tmp}/larkspin-test.XXXXXX")
TEST_PREMATURE_EXIT_FILE=$marker "$@"
status=$?
if [ -e "$marker" ]; then
  rm -f "$marker"
  echo "$1 stopped before its last test" >&2
  exit 1
fi
exit $status
