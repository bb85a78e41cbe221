#!/bin/sh
# One restart test case: its phase before, a restart, its phase after (see
# tests/wine/programs/RestartPhases.h). Run by CTest on the host, alone in the Wine session
# (pm_restart_tests makes it serial):
#   restart-case.sh WINE_RUN PROGRAM CASE
# A restart is the end of the Wine session (every process in it, the "CAD program" holding files
# among them) and a new one: at the start of a session this Wine boots the prefix as Windows boots,
# carrying out PendingFileRenameOperations and then HKLM's RunOnce values before the first
# program runs. The session is booted again even when the first phase fails, so that the next
# test starts from a running one.
set -u
wine_run=$1 program=$2 case=$3
if [ -z "${PM_WINE:-}" ] || [ -z "${WINESERVER:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "restart-case: no Wine harness in this environment; run the tests through tools/test" >&2
  exit 2
fi

phase() { # name: runs CASE.name, which must exist and pass
  out=$("$wine_run" "$program" --gtest_filter="$case.$1" 2>&1)
  rc=$?
  printf '%s\n' "$out"
  printf '%s\n' "$out" | grep -q '^\[  PASSED  \] 1 test' || { [ "$rc" -ne 0 ] || rc=1; echo "restart-case: $case.$1 did not pass"; }
  return "$rc"
}

restart() {
  echo "restart-case: ending the Wine session and booting it again"
  "$WINESERVER" -k </dev/null >/dev/null 2>&1
  "$WINESERVER" -w </dev/null >/dev/null 2>&1
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$PM_WINE" cmd /c exit 0 </dev/null >/dev/null 2>&1
}

before=0
phase BeforeRestart || before=$?
restart
[ "$before" -eq 0 ] || exit "$before"
phase AfterRestart
