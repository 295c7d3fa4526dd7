# Sourced by the scripts that run the 32-bit tivoler.exe: a Debian 13 root under
# build/ whose Wine 10 runs PE32 programs in WoW64 mode, and a way into it.
#
# Debian 12's Wine 8 cannot run the product (its WoW64 mode crashes in gdi32), and
# this kernel refuses 32-bit Linux programs, so Debian's wine32 is no way either.
# Wine 10's 64-bit build runs a PE32 program when the 32-bit Windows DLLs sit in
# its i386-windows folder; they come from libwine:i386, unpacked, never installed.
#
# The root is made once (debootstrap, about a minute) and reused; it is made again
# when it is missing or incomplete. Runs enter it through a private mount namespace
# that holds its /proc, so nothing stays mounted when a run ends and `rm -rf build`
# is always safe. No folder of the host is mounted into it: callers copy in what a
# run needs (under $WINE_ROOT/tivoler) and copy results out.

WINE_ROOT=${WINE_ROOT:-$root/build/wine10-root}

# The Debian mirror this machine's own apt uses: the first URIs: line of its deb822
# source files, else the first deb line of a classic sources list; nothing when there
# is none (debootstrap then takes its own default). WINE_ROOT_MIRROR overrides it.
apt_mirror() {
  local f uri
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    uri=$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\).*/\1/p' "$f" | head -n 1)
    [ -n "$uri" ] && { echo "$uri"; return; }
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    # deb [options] URI suite components...
    uri=$(sed -n 's/^[[:space:]]*deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\).*/\2/p' "$f" | head -n 1)
    [ -n "$uri" ] && { echo "$uri"; return; }
  done
}
WINE_ROOT_MIRROR=${WINE_ROOT_MIRROR:-$(apt_mirror)}
# Packages of the root: Wine, a virtual display, the locales of the language tests,
# Wine's own fonts (MS Sans Serif, Tahoma), a font with Arial's widths (Liberation
# Sans) and Japanese fonts, and Python with Xlib for the drag-and-drop test.
# Changing this list makes the root again.
wine_root_packages="wine64 xvfb locales fonts-wine fonts-liberation fonts-ipafont-gothic python3 python3-xlib x11-utils"
wine_root_stamp="trixie; $wine_root_packages; i386-windows"

wine_root_ready() {
  [ -f "$WINE_ROOT/.tivoler-root" ] && [ "$(cat "$WINE_ROOT/.tivoler-root")" = "$wine_root_stamp" ] &&
    [ -x "$WINE_ROOT/usr/lib/wine/wine64" ] && [ -x "$WINE_ROOT/usr/bin/Xvfb" ] &&
    [ -f "$WINE_ROOT/usr/lib/x86_64-linux-gnu/wine/i386-windows/kernel32.dll" ] &&
    [ -f "$WINE_ROOT/usr/lib/x86_64-linux-gnu/wine/i386-windows/gdi32.dll" ]
}

# Whether this kernel lets a 64-bit process run 32-bit code (scripts/ia32-probe.c),
# which Wine's WoW64 mode needs for the 32-bit product. A kernel without IA-32
# emulation refuses it, and every PE32 program ends as it starts.
kernel_runs_32bit_code() {
  local probe="$root/build/ia32-probe"
  mkdir -p "$root/build"
  if [ ! -x "$probe" ] || [ "$root/scripts/ia32-probe.c" -nt "$probe" ]; then
    cc -O0 -no-pie -static -o "$probe" "$root/scripts/ia32-probe.c" || return 1
  fi
  "$probe"
}

# The program the Wine runs start: the 32-bit product, or where this kernel cannot run
# it, the 64-bit twin built from the same source (said on stderr).
product_for_wine() {
  if kernel_runs_32bit_code; then
    echo "$root/build/win32/tivoler.exe"
  else
    echo "This kernel runs no 32-bit code (IA-32 emulation off), so Wine cannot run the 32-bit" \
      "tivoler.exe here; its 64-bit twin build/win64/tivoler.exe stands in." >&2
    echo "$root/build/win64/tivoler.exe"
  fi
}

# Runs a command as root inside the root, with its own /proc, and a clean
# environment (LANG and DISPLAY pass through).
in_wine_root() {
  local dir=${WINE_ROOT_DIR:-$WINE_ROOT}
  unshare -m --propagation private -- sh -c 'mount -t proc proc "$1/proc" && shift && exec chroot "$@"' \
    sh "$dir" "$dir" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    LANG="${LANG:-C.UTF-8}" ${DISPLAY:+DISPLAY=$DISPLAY} ${WINEDEBUG:+WINEDEBUG=$WINEDEBUG} "$@"
}

# Makes the root when it is missing or incomplete. Output goes to a log; the last
# lines are shown when something failed.
ensure_wine_root() {
  wine_root_ready && return 0
  local new="$WINE_ROOT.new" log="$root/build/wine10-root.log"
  mkdir -p "$root/build"
  echo "Making the Wine 10 root $WINE_ROOT (Debian 13, once; about two minutes) ..."
  rm -rf "$new" "$WINE_ROOT"
  {
    debootstrap --variant=minbase trixie "$new" ${WINE_ROOT_MIRROR:+"$WINE_ROOT_MIRROR"} &&
      WINE_ROOT_DIR=$new in_wine_root sh -c "
        set -e
        export DEBIAN_FRONTEND=noninteractive
        dpkg --add-architecture i386
        apt-get update -q
        apt-get install -y -q --no-install-recommends $wine_root_packages
        sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
        locale-gen
        mkdir -p /tmp/libwine32 && cd /tmp/libwine32
        apt-get download libwine:i386
        dpkg -x libwine_*_i386.deb unpacked
        cp -n unpacked/usr/lib/i386-linux-gnu/wine/i386-windows/* /usr/lib/x86_64-linux-gnu/wine/i386-windows/
        cd / && rm -rf /tmp/libwine32
        apt-get clean"
  } >"$log" 2>&1 || {
    tail -20 "$log" >&2
    echo "Making the Wine 10 root failed (log: $log)" >&2
    rm -rf "$new"
    return 1
  }
  echo "$wine_root_stamp" >"$new/.tivoler-root"
  mv "$new" "$WINE_ROOT"
  wine_root_ready
}

# Copies files into the root's work folder /tivoler (made when missing).
copy_into_wine_root() {
  mkdir -p "$WINE_ROOT/tivoler"
  cp "$@" "$WINE_ROOT/tivoler/"
}
