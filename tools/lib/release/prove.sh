# The trial install of tools/release, sourced after build.sh and wine.sh: the release folder is
# drive D: of a fresh Wine prefix, Setup.exe is started from it and the uninstaller from the
# uninstall entry, and snapshots of the prefix before, between and after show what was written and
# what was left.
#
# release_prove RELEASE WORK  writes into WORK: proof.log (the steps), record.txt (the install
# record, UTF-8), expected-record.txt, snapshot-{before,installed,after}.json, the screenshots and
# facts.sh (what report.py is told). Fails when a step fails, the record is not the expected one,
# or anything is left behind.
#
# Where the kernel runs no 32-bit code, the x86-64 build of the same sources stands in for the
# shipped i686 programs (and RELEASE_PROVE_CONTROLS, when set, holds x86-64 builds of the controls).

RELEASE_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
RELEASE_CAD_RELEASES=("R15.0 ACAD-1:804" "R16.2 ACAD-4001:804" "R17.2 ACAD-7001:804")

release_winpath() { local p=$1; printf 'Z:%s' "${p//\//\\}"; }

release_prove_step() { # number title
  echo "   prove $1/7: $2"
  echo "== $2" >>"$RELEASE_PROVE_LOG"
}

release_snapshot() { # name
  local name=$1 work=$RELEASE_PROVE_WORK
  "$PM_WINE" reg export 'HKLM\Software' "$(release_winpath "$work/hklm-$name.reg")" /y </dev/null >/dev/null 2>&1 &&
    "$PM_WINE" reg export 'HKCU\Software' "$(release_winpath "$work/hkcu-$name.reg")" /y </dev/null >/dev/null 2>&1 || {
    echo "release: reg.exe could not export the registry" >&2; return 1; }
  python3 "$RELEASE_LIB/snapshot.py" take "$WINEPREFIX/drive_c" "$work/hklm-$name.reg" "$work/hkcu-$name.reg" \
    "$work/snapshot-$name.json" && rm -f "$work/hklm-$name.reg" "$work/hkcu-$name.reg"
}

release_driver() { # arguments...: the driver's lines (GBK) into the log and on the screen
  local status
  "$PM_WINE" "$RELEASE_DRIVER" "$@" </dev/null 2>&1 | iconv -f GBK -t UTF-8 -c | tr -d '\r' |
    { grep '^release:' || true; } | tee -a "$RELEASE_PROVE_LOG" | sed 's/^release: /      /'
  status=${PIPESTATUS[0]}
  [ "$status" = 0 ] || echo "release: the driver ended with $status" >>"$RELEASE_PROVE_LOG"
  return "$status"
}

release_proof_folder() { # release work arch: the folder that becomes drive D:
  local release=$1 work=$2 arch=$3
  if [ "$arch" = win32 ]; then echo "$release"; return; fi
  local disc="$work/disc"
  cp -r "$release" "$disc"
  cp "$RELEASE_STAND_INS/Setup.exe" "$RELEASE_STAND_INS/Uninstall.exe" "$disc/"
  if [ -n "${RELEASE_PFX:-}" ]; then
    release_sign_one "$disc/Setup.exe" "$RELEASE_EPOCH" && release_sign_one "$disc/Uninstall.exe" "$RELEASE_EPOCH" ||
      return 1
  fi
  if [ -n "${RELEASE_PROVE_CONTROLS:-}" ]; then
    local control
    for control in "$disc"/Controls/*; do
      [ -f "$RELEASE_PROVE_CONTROLS/$(basename "$control")" ] && cp "$RELEASE_PROVE_CONTROLS/$(basename "$control")" "$control"
    done
  fi
  echo "$disc"
}

release_prove() {
  local release=$1 work=$2 arch disc target
  RELEASE_PROVE_WORK=$work RELEASE_PROVE_LOG="$work/proof.log"
  : >"$RELEASE_PROVE_LOG"
  arch=$(pm_wine_arch)
  release_prove_step 1 "starting Wine ($arch) in a fresh prefix"
  disc=$(release_proof_folder "$release" "$work" "$arch") || return 1
  RELEASE_WINE_STARTED=1
  pm_wine_start "$work/wine" >>"$RELEASE_PROVE_LOG" 2>&1 || { echo "release: Wine did not start" >&2; return 1; }
  target="$WINEPREFIX/drive_c/Program Files/Kelvora/Pindlemark"
  ln -sfn "$disc" "$WINEPREFIX/dosdevices/d:"
  local cad
  for cad in "${RELEASE_CAD_RELEASES[@]}"; do
    pm_wine_reg add "HKLM\\SOFTWARE\\Autodesk\\AutoCAD\\${cad% *}" /v CurVer /t REG_SZ /d "${cad#* }" || return 1
  done
  echo "CAD releases installed beforehand: ${RELEASE_CAD_RELEASES[*]}" >>"$RELEASE_PROVE_LOG"

  release_prove_step 2 "snapshot of the prefix before the install"
  release_snapshot before || return 1

  release_prove_step 3 "Setup.exe from D:\\ (the release folder), answered as a user would"
  release_driver setup 'D:\' "$(release_winpath "$work/setup-completed.bmp")" || return 1
  [ -f "$target/Uninstall.log" ] || { echo "release: Setup wrote no install record" >&2; return 1; }
  iconv -f GBK -t UTF-8 <"$target/Uninstall.log" | tr -d '\r' >"$work/record.txt"
  python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); import layout; print("\n".join(layout.expected_record(sys.argv[2])))' \
    "$RELEASE_LIB" "$disc" >"$work/expected-record.txt"

  release_prove_step 4 "snapshot of the installed prefix; the record against the release"
  release_snapshot installed || return 1
  if ! diff <(LC_ALL=C sort "$work/record.txt") "$work/expected-record.txt" >"$work/record.diff"; then
    echo "release: the install record is not what Setup records for this release (< record, > expected):" >&2
    sed 's/^/   /' "$work/record.diff" >&2
    return 1
  fi
  echo "      the record's $(wc -l <"$work/record.txt") lines are the ones expected for this release"

  release_prove_step 5 "the uninstaller from the uninstall entry, answered as a user would"
  release_driver uninstall "$(release_winpath "$work/uninstall-completed.bmp")" || return 1

  release_prove_step 6 "snapshot after the removal; the residue"
  release_snapshot after || return 1
  if ! python3 "$RELEASE_LIB/snapshot.py" diff "$work/snapshot-before.json" "$work/snapshot-after.json" >"$work/residue.txt"; then
    echo "release: the install and its removal left this behind:" >&2
    sed 's/^/   /' "$work/residue.txt" >&2
    return 1
  fi
  echo "      nothing left behind but what the design leaves"

  release_prove_step 7 "stopping Wine"
  pm_wine_stop
  local shot
  for shot in setup-completed uninstall-completed; do
    convert "$work/$shot.bmp" "$work/$shot.png" && rm -f "$work/$shot.bmp"
  done
  {
    echo "arch=$arch"
    echo "disc=$disc"
    echo "wine=$("$PM_WINE" --version 2>/dev/null || echo Wine)"
    echo "signed=${RELEASE_PFX:+yes}"
    echo "prove_controls=${RELEASE_PROVE_CONTROLS:-}"
    echo "cad=${RELEASE_CAD_RELEASES[*]}"
  } >"$work/facts.sh"
}
