# Sourced by the scripts that run pelgar.exe under Wine. `use_wine_prefix DIR` makes DIR the
# Wine prefix (creating it takes about 15 s the first time), starts a persistent wineserver
# for it with its output thrown away, and sets $wine to Wine's 64-bit loader. The caller
# stops the server with `wineserver -k` when it is done.
use_wine_prefix() {
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wine=/usr/lib/wine/wine64
  [ -x "$wine" ] || wine="$(command -v wine)"
  mkdir -p "$WINEPREFIX"
  # Started first and kept: a server started by a program under test would write its own
  # messages into that program's output, and each start would cost the server's start-up.
  wineserver -p >/dev/null 2>&1 || true
  # Makes the prefix, or brings it up to date, before anything is timed: the first program
  # of a session waits for that, and a test listing must not.
  "$wine" cmd /c exit >/dev/null 2>&1 || true
  [ -f "$WINEPREFIX/.pelgar-ready" ] && return 0
  # Wine draws each window's frame itself, as Windows does, rather than leaving it to an X
  # window manager, which Xvfb has none of (and a closing dialog would wait for one).
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  # Debian's Wine finds its own fonts (MS Sans Serif, Tahoma, Marlett for the caption
  # buttons) only in the prefix's Fonts folder; without them dialogs take other sizes.
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  touch "$WINEPREFIX/.pelgar-ready"
}
