#!/bin/bash
# Sourced by test.sh and run.sh: one Wine prefix, one Xvfb (when no display is
# given or when asked for) and one persistent wineserver for the whole run.
# Call wine_session_start [xvfb-depth] and wine_session_stop.

wine_session_start() {
  local depth=${1:-24}
  export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix-$WINEARCH}
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko installer prompts: nothing here uses .NET or the HTML engine.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  # A 32-bit prefix for the 32-bit programs, which need no WoW64 layer; a 64-bit
  # one where target-arch.sh chose the 64-bit build.
  export WINEARCH=${WINEARCH:-win32}

  xvfb_pid=
  if [[ -z "${DISPLAY:-}" || "${WINE_SESSION_XVFB:-}" == 1 ]]; then
    local n
    for n in $(seq 91 140); do
      [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
      Xvfb ":$n" -screen 0 "1280x1024x$depth" -nolisten tcp >/dev/null 2>&1 &
      xvfb_pid=$!
      export DISPLAY=":$n"
      break
    done
    local i
    for i in $(seq 1 50); do
      [[ -e /tmp/.X11-unix/X${DISPLAY#:} ]] && break
      sleep 0.1
    done
  fi

  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Making the Wine prefix $WINEPREFIX (once)..."
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  wine_prefix_wingdings
  wineserver -p
  # No window manager runs on the test screen: windows are left unmanaged, so
  # that Wine does not wait for one each time a window is hidden or destroyed.
  # (Looked for in the key's own section: programs' own AppDefaults say the same.)
  if ! awk '/^\[Software\\\\Wine\\\\X11 Driver\]/ { inside = 1; next } /^\[/ { inside = 0 }
            inside && /"Managed"="N"/ { found = 1 } END { exit !found }' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  fi
  # Start Wine's services now, outside any test, so that no test pays for them.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

# Grids print their check boxes in Wingdings.  Wine ships one, but a new
# prefix finds it only in its own Fonts folder; without it a symbol font
# stands in that has no check marks.
wine_prefix_wingdings() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" source
  [[ -f "$fonts/wingding.ttf" ]] && return 0
  for source in /usr/share/wine/fonts /usr/lib/wine/fonts /opt/wine*/share/wine/fonts; do
    if [[ -f "$source/wingding.ttf" ]]; then
      mkdir -p "$fonts" && cp "$source/wingding.ttf" "$fonts/"
      return 0
    fi
  done
  echo "Wine's Wingdings font was not found: printed check boxes will have no marks." >&2
}

wine_session_stop() {
  wineserver -k 2>/dev/null || true
  if [[ -n "${xvfb_pid:-}" ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
