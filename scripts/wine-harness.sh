# Private run-time for Kestrin under Wine, one per build tree and
# architecture: an Xvfb display (unless KESTRIN_DISPLAY names one), a Wine
# prefix with the Japanese locale (ANSI code page 932) and font replacements,
# and a virtual desktop (with a taskbar and notification area) shared by
# every process of the prefix. Sourced by wine-run, run.sh and test.sh.
#
# The architecture is the prefix's: win32 (the default) runs everything as
# on 32-bit Windows; win64 runs the same 32-bit programs under WoW64 among
# Wine's own 64-bit processes, as on 64-bit Windows. Each has its own
# harness directory (harness_dir), which remembers its architecture. So has
# a screen of another density than 96 dpi (LogPixels; 144 is 150 %).

# The harness directory of build tree $1 for architecture $2 (win32, win64)
# and screen density $3 (dots per inch, default 96).
harness_dir() {
  local suffix=""
  case "${3:-96}" in
    96) ;;
    *[!0-9]*) echo "harness: unknown density '$3' (dots per inch)" >&2; return 1 ;;
    *) suffix="-${3}dpi" ;;
  esac
  case "${2:-win32}" in
    win32) echo "$1/harness$suffix" ;;
    win64) echo "$1/harness-win64$suffix" ;;
    *) echo "harness: unknown architecture '$2' (win32 or win64)" >&2; return 1 ;;
  esac
}

harness_env() {
  local dir arch
  dir=$(realpath -m "$1")
  arch=$(cat "$dir/arch" 2>/dev/null || echo win32)
  export WINEPREFIX="$dir/prefix" WINEARCH=$arch WINEDEBUG=${WINEDEBUG:--all}
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  # Wine links the user's folders into $HOME: keep them inside the harness.
  export HOME="$dir/home"
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
  if [ -f "$dir/display" ]; then export DISPLAY=$(cat "$dir/display"); fi
}

harness_xvfb_alive() {
  local dir=$1
  [ -f "$dir/xvfb.pid" ] && kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null
}

harness_start_xvfb() {
  local dir=$1 n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 9>&- &
    echo $! >"$dir/xvfb.pid"
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { echo ":$n" >"$dir/display"; return 0; }
      kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "harness: could not start Xvfb" >&2
  return 1
}

harness_write_reg() {
  local file=$1
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"MS UI Gothic"="IPAPGothic"\r\n'
    printf '"ＭＳ Ｐゴシック"="Harness PGothic"\r\n'
    printf '"ＭＳ ゴシック"="IPAGothic"\r\n'
    printf '"MS Shell Dlg"="IPAPGothic"\r\n'
    printf '"MS Shell Dlg 2"="IPAPGothic"\r\n'
    printf '"Tahoma"="IPAPGothic"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n'
    printf '"Desktop"="Default"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n'
    printf '"Default"="1024x768"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\r\n'
    printf '"winemenubuilder.exe"=""\r\n\r\n'
  } | iconv -f UTF-8 -t UTF-16 >"$file"
}

# The screen's density: Wine reports LogPixels as LOGPIXELSY and scales the
# system's metrics with it (144: the small icon is 24 pixels).
harness_write_dpi_reg() {
  local file=$1 dpi
  dpi=$(printf '%08x' "$2")
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%s\r\n\r\n' "$dpi"
    printf '[HKEY_CURRENT_CONFIG\\Software\\Fonts]\r\n"LogPixels"=dword:%s\r\n\r\n' "$dpi"
  } | iconv -f UTF-8 -t UTF-16 >"$file"
}

# Brings the run-time of directory $1 up for architecture $2 (default
# win32) and screen density $3 (default 96; idempotent, safe to call from
# parallel tests).
harness_up() {
  local dir arch=${2:-win32} dpi=${3:-96}
  dir=$(realpath -m "$1")
  # Wine links the user's shell folders to these when they exist.
  mkdir -p "$dir/home/Documents" "$dir/home/Desktop" "$dir/artifacts"
  (
    flock 9
    if [ -n "${KESTRIN_DISPLAY:-}" ]; then
      echo "$KESTRIN_DISPLAY" >"$dir/display"
    elif ! harness_xvfb_alive "$dir"; then
      harness_start_xvfb "$dir" || exit 1
    fi
    echo "$arch" >"$dir/arch"
    harness_env "$dir"
    # A prefix is made for one architecture: one of the other is made anew.
    if [ "$(cat "$WINEPREFIX/.kestrin-ready" 2>/dev/null)" != "$arch" ]; then
      # A server still running on the old prefix would outlive its removal.
      [ -d "$WINEPREFIX" ] && { wineserver -k 9>&- 2>/dev/null || true; }
      rm -rf "$WINEPREFIX"
      wineboot -i >"$dir/wineboot.log" 2>&1 9>&-
      wineserver -w 9>&-
      echo "$arch" >"$WINEPREFIX/.kestrin-ready"
    fi
    # The program's font, "ＭＳ Ｐゴシック" at 12 pixels, stands on IPAPGothic
    # given the original's 12-pixel lines (harness_font.py: IPAPGothic's own
    # are 13, which cut the last line of a label laid out for 12). A prefix
    # made before it gets the font and the registry settings now.
    if [ ! -f "$WINEPREFIX/.kestrin-font" ]; then
      python3 "$(dirname "${BASH_SOURCE[0]}")/harness_font.py" \
        /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf "$dir/harness-pgothic.ttf" "Harness PGothic"
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      mv "$dir/harness-pgothic.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
      harness_write_reg "$dir/kestrin.reg"
      wine regedit "$(winepath -w "$dir/kestrin.reg")" >>"$dir/wineboot.log" 2>&1 9>&-
      touch "$WINEPREFIX/.kestrin-font"
    fi
    # Wine draws the title bars' buttons with its Marlett font, which Debian
    # ships in /usr/share/wine/fonts (fonts-wine); Wine 8 reads fonts only
    # from the prefix's Fonts folder and fontconfig's, and a new prefix's
    # Fonts folder is empty, so the buttons came out as letters ("r" for the
    # close box). The prefix gets its own copy.
    cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # A density other than the prefix's: set, and the server (with the
    # desktop that read the old one at its start) stopped, so that every
    # process from now on starts with it.
    if [ "$(cat "$WINEPREFIX/.kestrin-dpi" 2>/dev/null || echo 96)" != "$dpi" ]; then
      harness_write_dpi_reg "$dir/dpi.reg" "$dpi"
      wine regedit "$(winepath -w "$dir/dpi.reg")" >>"$dir/wineboot.log" 2>&1 9>&-
      wineserver -k 9>&- 2>/dev/null || true
      wineserver -w 9>&-
      echo "$dpi" >"$WINEPREFIX/.kestrin-dpi"
    fi
    # A persistent server keeps the desktop (and its tray) alive between tests.
    wineserver -p >/dev/null 2>&1 9>&- || true
  ) 9>"$dir/lock"
  harness_env "$dir"
}

# Stops only this harness's processes: its wineserver (and so its Wine
# processes) and its own Xvfb.
harness_down() {
  local dir
  dir=$(realpath -m "$1")
  [ -d "$dir" ] || return 0
  (
    harness_env "$dir"
    [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null || true
    if harness_xvfb_alive "$dir"; then kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true; fi
    rm -f "$dir/xvfb.pid"
  )
}
