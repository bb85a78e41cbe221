# Wine harness, sourced by tools/test, tools/demo and tools/bench.
#
# pm_wine_start DIR  makes a fresh Wine prefix in DIR/wineprefix under the zh_CN.UTF-8 locale
#                    (ANSI code page 936, as on a Chinese Windows; PM_WINE_LOCALE names another), starts Xvfb on a free display
#                    and a persistent wineserver, boots the prefix, sets it up (below), and exports
#                    what tools/wine-run and the tests need. With PM_KEEP_PREFIX=1 a prefix that an
#                    earlier call set up completely is used again as it is.
# pm_wine_stop       ends everything pm_wine_start started. Safe to call twice.
#
# The prefix's set-up:
# - The X11 driver draws the windows' frames itself (Managed=N): the virtual display runs no window
#   manager, so managed windows would show neither caption nor frame, and Wine would wait two
#   seconds at every hiding of a managed window for a withdrawal that never comes.
# - "宋体" (SimSun), the dialogs' font, is Debian's "AR PL SungtiL GB" (fonts-arphic-gbsn00lp):
#   at 9 points its half-width glyphs are 6 pixels wide in a 12-pixel cell, as on Windows, so a
#   dialog unit is 1.5 pixels and the dialogs have the size Windows gives them. Both names are
#   set, since a replacement applies only to the name it is given; the prefix's "MS Shell Dlg"
#   (message boxes, the default GUI font) is SimSun too. Without them Wine would take whatever
#   CJK font the host's fontconfig likes best.
# - Wine's own fonts (fonts-wine: Tahoma, Marlett for the caption buttons' glyphs, the system
#   fonts) are copied into the prefix's Fonts folder, where this Wine finds them; it does not
#   look in the folder the package puts them in.
#
# Which Wine runs the Windows programs: 32-bit programs need a kernel that runs 32-bit code
# (IA-32 emulation). Where it is missing, the harness uses 64-bit Wine and the tests run the
# x86-64 build of the same sources; pm_wine_arch says which.

PM_XVFB_PID=""

pm_can_run_32bit() {
  # The 32-bit Wine loader is an i386 ELF program: it starts only where the kernel runs such code.
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

pm_wine_arch() {
  if pm_can_run_32bit; then echo win32; else echo win64; fi
}

pm_start_xvfb() { # dir
  # Xvfb picks a free display itself and writes its number to the given descriptor.
  local dir=$1 display_file="$1/xvfb.display"
  rm -f "$display_file"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >"$dir/xvfb.log" 2>&1 </dev/null &
  PM_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$display_file" ] && break
    kill -0 "$PM_XVFB_PID" 2>/dev/null || { echo "wine harness: Xvfb did not start" >&2; cat "$dir/xvfb.log" >&2; return 1; }
    sleep 0.1
  done
  [ -s "$display_file" ] || { echo "wine harness: Xvfb gave no display" >&2; return 1; }
  export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
}

pm_wine_start() {
  local dir=$1
  # The prefix's language for programs that are not Unicode: Chinese (PRC), code page 936, unless
  # PM_WINE_LOCALE names another (en_US.UTF-8 gives 1252, ja_JP.UTF-8 gives 932).
  # The caller's own language comes back at pm_wine_stop: the tools that run after Wine (and read
  # other programs' messages) must not run in the prefix's.
  local locale=${PM_WINE_LOCALE:-zh_CN.UTF-8}
  if [ -z "${PM_WINE_CALLER_LANG+set}" ]; then
    PM_WINE_CALLER_LANG=${LANG-} PM_WINE_CALLER_LC_ALL=${LC_ALL-}
  fi
  export LANG=$locale LC_ALL=$locale
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ "$(pm_wine_arch)" = win32 ]; then
    export PM_WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32 WINEARCH=win32
  else
    export PM_WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 WINEARCH=win64
  fi
  export WINEPREFIX="$dir/wineprefix"
  local ready="$dir/prefix-ready"
  local keep=""
  if [ "${PM_KEEP_PREFIX:-}" = 1 ] && [ -f "$ready" ] && [ "$(cat "$ready")" = "$WINEARCH" ]; then
    keep=1
    echo "wine harness: reusing the prefix $WINEPREFIX (PM_KEEP_PREFIX=1)"
  else
    rm -rf "$WINEPREFIX" "$ready"
    mkdir -p "$WINEPREFIX"   # wineserver needs the folder; wineboot fills it
  fi

  if [ -n "${PM_WINE_USE_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then
    echo "wine harness: using the display $DISPLAY"
  else
    pm_start_xvfb "$dir" || return 1
  fi

  # Wine's service processes inherit the standard streams: keep them off the test runner's pipes.
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  if [ -n "$keep" ]; then
    "$PM_WINE" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
    return 0
  fi
  "$PM_WINE" wineboot --init </dev/null >"$dir/wineboot.log" 2>&1 || {
    echo "wine harness: wineboot failed" >&2; cat "$dir/wineboot.log" >&2; return 1; }
  pm_wine_setup || return 1
  # wineboot returns before the services have settled; one trivial program makes the prefix warm.
  "$PM_WINE" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
  echo "$WINEARCH" >"$ready"
}

pm_wine_reg() { # reg.exe arguments...
  # Tried again after a pause: just after wineboot, while the prefix's services still settle, a
  # write was seen to fail once under load and succeed when repeated.
  # Its words go to a file, not a pipe: a service process that Wine starts would hold a pipe open.
  local try said="$WINEPREFIX/../reg.log"
  for try in 1 2 3; do
    if "$PM_WINE" reg "$@" /f </dev/null >"$said" 2>&1; then
      [ "$try" = 1 ] || echo "wine harness: reg $* took $try tries" >&2
      return 0
    fi
    sleep "$try"
  done
  echo "wine harness: reg $* failed three times; the last time it said (in the prefix's code page):" >&2
  sed 's/^/   /' "$said" >&2
  return 1
}

pm_wine_setup() {
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" || {
    echo "wine harness: cannot copy Wine's fonts into the prefix" >&2; return 1; }
  pm_wine_reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N &&
    pm_wine_reg add 'HKCU\Software\Wine\Fonts\Replacements' /v '宋体' /t REG_SZ /d 'AR PL SungtiL GB' &&
    pm_wine_reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /t REG_SZ /d 'AR PL SungtiL GB' || return 1
  # Under another language, Wine finds the Chinese glyphs that the window captions' bold Tahoma
  # lacks only through a link, as Windows' font linking finds them on a Windows of any language.
  case ${LANG:-} in
    zh_CN*) ;;
    *)
      cp /usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || return 1
      local face
      for face in Tahoma 'Tahoma Bold'; do
        pm_wine_reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
          /v "$face" /t REG_MULTI_SZ /d 'gbsn00lp.ttf,AR PL SungtiL GB' || return 1
      done ;;
  esac
}

pm_wine_stop() {
  if [ -n "${WINESERVER:-}" ] && [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  fi
  if [ -n "$PM_XVFB_PID" ]; then
    kill "$PM_XVFB_PID" 2>/dev/null || true
    wait "$PM_XVFB_PID" 2>/dev/null || true
    PM_XVFB_PID=""
  fi
  if [ -n "${PM_WINE_CALLER_LANG+set}" ]; then
    # An empty setting is as good as none.
    if [ -n "$PM_WINE_CALLER_LANG" ]; then export LANG=$PM_WINE_CALLER_LANG; else unset LANG; fi
    if [ -n "$PM_WINE_CALLER_LC_ALL" ]; then export LC_ALL=$PM_WINE_CALLER_LC_ALL; else unset LC_ALL; fi
    unset PM_WINE_CALLER_LANG PM_WINE_CALLER_LC_ALL
  fi
}
