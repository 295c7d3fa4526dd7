# Sourced by the scripts that run Windows programs under Wine 10: a Debian 13 root
# under build/ and a way into it, for one of three routes to the 32-bit tivoler.exe.
#
# Debian 12's Wine 8 cannot run the product (its WoW64 mode crashes in gdi32), so the
# Wine is Debian 13's, in a root of its own. Which route runs the product
# (wine_route, said by every run):
# - wow64: where the kernel runs 32-bit code, Wine 10's 64-bit build runs the PE32 in
#   WoW64 mode; the 32-bit Windows DLLs come from libwine:i386, unpacked, never
#   installed, into its i386-windows folder (build/wine10-root).
# - emulated: where the kernel runs no 32-bit code, Wine's classic 32-bit loader
#   (wine32:i386 beside wine64: one prefix, one wineserver) runs the PE32, and every
#   32-bit Linux program of it runs under qemu-i386 (Debian 13's qemu-user, static,
#   unpacked, never installed). The binary format is registered only inside the run's
#   own user, mount, PID and network namespaces, on a binfmt_misc mount of their own
#   (Linux 6.7 and later), so the host sees no registration and the registration ends
#   with the run (build/wine10-root-i386: a root of its own, since with wine32 installed
#   Wine takes the 32-bit loader even where WoW64 would run).
# - twin: where neither works (a kernel older than 6.7 without 32-bit code, or user
#   namespaces refused), the 64-bit twin build/win64/tivoler.exe stands in.
# TIVOLER_WINE_ROUTE=wow64|emulated|twin takes a route without asking the kernel.
# The 64-bit test program and helpers run natively under wine64 on every route.
#
# A root is made once (debootstrap, about two minutes) and reused; it is made again
# when it is missing or incomplete. Runs enter it through private namespaces that hold
# its /proc (and on the emulated route its /dev/shm and binfmt_misc), so nothing stays
# mounted or registered when a run ends and `rm -rf build` is always safe. No folder of
# the host is mounted into it: callers copy in what a run needs (under
# $WINE_ROOT/tivoler) and copy results out.

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

# unshare maps the IDs of a new user namespace with newuidmap and newgidmap. Root may
# write a namespace's maps itself, so these stand-ins do (shadow's own would ask
# /etc/subuid, which need not list root). Prints the folder to put first in PATH.
id_map_tools() {
  local dir="$root/build/id-map" kind
  mkdir -p "$dir"
  for kind in uid gid; do
    cat >"$dir/new${kind}map" <<MAP
#!/bin/sh
# new${kind}map PID INSIDE OUTSIDE COUNT...: the ${kind} map of PID's user namespace.
pid=\$1
shift
map=
while [ \$# -ge 3 ]; do
  map="\$map\$1 \$2 \$3
"
  shift 3
done
printf '%s' "\$map" >"/proc/\$pid/${kind}_map"
MAP
    chmod +x "$dir/new${kind}map"
  done
  echo "$dir"
}

# The namespaces of the emulated route: user (the IDs 0-65535 mapped to themselves),
# mount, PID (its init's end ends every process of the run) and network (an X server
# inside meets none outside over abstract sockets; WINE_ROOT_HOST_NETWORK keeps the
# host's, for a run shown on the host's display and for the packages of the root).
# unshare leaves SIGINT and SIGTERM to its child, the namespaces' init, which takes none
# it has no handler for; so a caller that is ended ends unshare with SIGKILL, and the
# kernel then ends the init (--kill-child) and with it every process of the run.
in_emulation_namespaces() {
  local net=-n pid status
  [ -n "${WINE_ROOT_HOST_NETWORK:-}" ] && net=
  PATH="$(id_map_tools):$PATH" unshare --map-users=0,0,65536 --map-groups=0,0,65536 \
    -m --propagation private -p $net --fork --kill-child -- "$@" <&0 &
  pid=$!
  trap 'kill -KILL $pid 2>/dev/null' INT TERM HUP
  wait "$pid"
  status=$?
  # A signal ends the wait early: the run is gone once unshare is.
  while kill -0 "$pid" 2>/dev/null; do wait "$pid"; done
  trap - INT TERM HUP
  return $status
}

# Whether a binfmt_misc of its own can be mounted in such namespaces.
user_binfmt_works() {
  in_emulation_namespaces sh -c 'd=$(mktemp -d) && mount -t binfmt_misc binfmt_misc "$d" &&
    [ -e "$d/register" ]; r=$?; umount "$d" 2>/dev/null; rmdir "$d"; exit $r' 2>/dev/null
}

# The route of this machine (see the top), asked once per run.
wine_route() {
  case ${TIVOLER_WINE_ROUTE:-} in
    wow64 | emulated | twin)
      echo "$TIVOLER_WINE_ROUTE"
      return
      ;;
  esac
  if kernel_runs_32bit_code; then
    echo wow64
  elif user_binfmt_works; then
    echo emulated
  else
    echo twin
  fi
}
WINE_ROUTE=${WINE_ROUTE:-$(wine_route)}
export WINE_ROUTE

if [ "$WINE_ROUTE" = emulated ]; then
  WINE_ROOT=${WINE_ROOT:-$root/build/wine10-root-i386}
else
  WINE_ROOT=${WINE_ROOT:-$root/build/wine10-root}
fi

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
# The emulated route adds Wine's 32-bit loader. Changing a list makes the root again.
wine_root_packages="wine64 xvfb locales fonts-wine fonts-liberation fonts-ipafont-gothic python3 python3-xlib x11-utils"
if [ "$WINE_ROUTE" = emulated ]; then
  wine_root_packages="$wine_root_packages wine32:i386"
  wine_root_stamp="trixie; $wine_root_packages; qemu-i386"
else
  wine_root_stamp="trixie; $wine_root_packages; i386-windows"
fi

wine_root_ready() {
  [ -f "$WINE_ROOT/.tivoler-root" ] && [ "$(cat "$WINE_ROOT/.tivoler-root")" = "$wine_root_stamp" ] &&
    [ -x "$WINE_ROOT/usr/lib/wine/wine64" ] && [ -x "$WINE_ROOT/usr/bin/Xvfb" ] || return 1
  if [ "$WINE_ROUTE" = emulated ]; then
    [ -x "$WINE_ROOT/usr/lib/wine/wine" ] && [ -x "$WINE_ROOT/usr/bin/qemu-i386" ] &&
      [ -f "$WINE_ROOT/usr/share/qemu/binfmt.d/qemu-i386.conf" ]
  else
    [ -f "$WINE_ROOT/usr/lib/x86_64-linux-gnu/wine/i386-windows/kernel32.dll" ] &&
      [ -f "$WINE_ROOT/usr/lib/x86_64-linux-gnu/wine/i386-windows/gdi32.dll" ]
  fi
}

# The program the Wine runs start: the 32-bit product, or on the twin route its 64-bit
# twin built from the same source (said on stderr).
product_for_wine() {
  if [ "$WINE_ROUTE" = twin ]; then
    echo "This kernel runs no 32-bit code and cannot emulate it in a namespace of its own" \
      "(Linux 6.7 or later with user namespaces), so Wine cannot run the 32-bit tivoler.exe" \
      "here; its 64-bit twin build/win64/tivoler.exe stands in." >&2
    echo "$root/build/win64/tivoler.exe"
  else
    echo "$root/build/win32/tivoler.exe"
  fi
}

# How the route runs a PE32 program, for the lines that name it.
pe32_route_text() {
  case $WINE_ROUTE in
    emulated) echo ", 32-bit loader under qemu-i386" ;;
    *) echo " WoW64" ;;
  esac
}

# Runs a command as root inside the root, with its own /proc, and a clean
# environment (LANG and DISPLAY pass through). On the emulated route the root also
# gets its own /dev/shm and binfmt_misc, where qemu-i386 is registered for 32-bit
# programs with the flags of Debian's own line (F: the kernel opens the emulator at
# registration, inside the root).
in_wine_root() {
  local dir=${WINE_ROOT_DIR:-$WINE_ROOT}
  set -- /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    LANG="${LANG:-C.UTF-8}" ${DISPLAY:+DISPLAY=$DISPLAY} ${WINEDEBUG:+WINEDEBUG=$WINEDEBUG} "$@"
  if [ "$WINE_ROUTE" != emulated ] || [ -n "${WINE_ROOT_PLAIN:-}" ]; then
    unshare -m --propagation private -- sh -c 'mount -t proc proc "$1/proc" && shift && exec chroot "$@"' \
      sh "$dir" "$dir" "$@"
    return
  fi
  in_emulation_namespaces sh -c '
    dir=$1
    shift
    mount -t proc proc "$dir/proc" &&
      mount -t tmpfs -o mode=1777 tmpfs "$dir/dev/shm" &&
      mount -t binfmt_misc binfmt_misc "$dir/proc/sys/fs/binfmt_misc" &&
      exec chroot "$dir" /bin/sh -c "cat /usr/share/qemu/binfmt.d/qemu-i386.conf \
        >/proc/sys/fs/binfmt_misc/register && exec \"\$@\"" sh "$@"' sh "$dir" "$@"
}

# Makes the root when it is missing or incomplete. Output goes to a log; the last
# lines are shown when something failed. On the emulated route the emulator comes
# first, unpacked from Debian's qemu-user (installing it would register it with the
# system's own binfmt service), so that the maintainer scripts of the i386 packages
# already run through it.
ensure_wine_root() {
  wine_root_ready && return 0
  local new="$WINE_ROOT.new" log="$WINE_ROOT.log" i386_windows
  mkdir -p "$root/build"
  echo "Making the Wine 10 root $WINE_ROOT (Debian 13, once; about two minutes) ..."
  rm -rf "$new" "$WINE_ROOT"
  # The WoW64 route's 32-bit Windows DLLs, from libwine:i386 unpacked.
  i386_windows="
        mkdir -p /tmp/libwine32 && cd /tmp/libwine32
        apt-get download libwine:i386
        dpkg -x libwine_*_i386.deb unpacked
        cp -n unpacked/usr/lib/i386-linux-gnu/wine/i386-windows/* /usr/lib/x86_64-linux-gnu/wine/i386-windows/
        cd / && rm -rf /tmp/libwine32"
  [ "$WINE_ROUTE" = emulated ] && i386_windows=
  {
    debootstrap --variant=minbase trixie "$new" ${WINE_ROOT_MIRROR:+"$WINE_ROOT_MIRROR"} &&
      WINE_ROOT_DIR=$new WINE_ROOT_PLAIN=1 in_wine_root sh -c "
        set -e
        dpkg --add-architecture i386
        apt-get update -q
        if [ '$WINE_ROUTE' = emulated ]; then
          mkdir -p /tmp/qemu && cd /tmp/qemu
          apt-get download qemu-user
          dpkg -x qemu-user_*.deb unpacked
          mkdir -p /usr/libexec/qemu-binfmt /usr/share/qemu/binfmt.d
          cp -a unpacked/usr/bin/qemu-i386 /usr/bin/
          cp -a unpacked/usr/libexec/qemu-binfmt/i386-binfmt-P /usr/libexec/qemu-binfmt/
          cp -a unpacked/usr/share/qemu/binfmt.d/qemu-i386.conf /usr/share/qemu/binfmt.d/
          cd / && rm -rf /tmp/qemu
        fi" &&
      WINE_ROOT_DIR=$new WINE_ROOT_HOST_NETWORK=1 in_wine_root sh -c "
        set -e
        export DEBIAN_FRONTEND=noninteractive
        apt-get install -y -q --no-install-recommends $wine_root_packages
        sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
        locale-gen
        $i386_windows
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
