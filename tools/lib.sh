# Sourced by the tools: one virtual display, the build's 32-bit Wine prefix
# and one persistent wineserver, started and ended by a single owner.
# shellcheck source=env.sh
. "$(dirname "${BASH_SOURCE[0]}")/env.sh"

LUMORA_XVFB_PID=
LUMORA_OWNS_SERVER=
LUMORA_PULSE_PID=
LUMORA_PULSE_DIR=
LUMORA_SMALL_DISK=
LUMORA_READONLY_DISK=

# Starts Xvfb on a free display number unless DISPLAY is already set.
lumora_start_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  LUMORA_XVFB_PID=$!
  local i
  for i in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  export DISPLAY=":$n"
}

# Creates the prefix on first use: win32, no crash dialog, no 2 s wait on
# DestroyWindow, 96 dpi, and a virtual desktop that draws title bars.
lumora_ensure_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/.lumora-ready" ] && return 0
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i </dev/null >/dev/null 2>&1
  wine regedit /S "$(winepath -w "$LUMORA_ROOT/tools/prefix.reg")" </dev/null >/dev/null 2>&1
  # Title-bar glyphs: Wine's own Marlett, which it does not find by itself.
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wineserver -w
  touch "$WINEPREFIX/.lumora-ready"
}

# One persistent wineserver for the whole run; its output must not hold a
# pipe that ctest waits on, so every standard stream goes to /dev/null.
lumora_start_wineserver() {
  if wineserver -k0 2>/dev/null; then :; fi
  wineserver -p </dev/null >/dev/null 2>&1
  LUMORA_OWNS_SERVER=1
  wine wineboot </dev/null >/dev/null 2>&1
}

# A sound server for wave-in: PulseAudio with a null sink whose monitor is
# the default source, on a private runtime folder with an anonymous socket,
# so that recordings get real buffers of silence. It runs as root too (with
# a warning); Wine finds it through PULSE_SERVER.
lumora_start_sound() {
  [ -n "$LUMORA_PULSE_PID" ] && return 0
  command -v pulseaudio >/dev/null || { echo "lib.sh: no pulseaudio, wave-in has no device" >&2; return 0; }
  LUMORA_PULSE_DIR=$(mktemp -d /tmp/lumora-pulse.XXXXXX)
  export PULSE_SERVER="unix:$LUMORA_PULSE_DIR/native"
  XDG_RUNTIME_DIR="$LUMORA_PULSE_DIR" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=no --log-target=stderr \
    -L "module-native-protocol-unix auth-anonymous=1 socket=$LUMORA_PULSE_DIR/native" \
    -L "module-null-sink sink_name=nullsink" </dev/null >"$LUMORA_PULSE_DIR/log" 2>&1 &
  LUMORA_PULSE_PID=$!
  local i
  for i in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  pactl set-default-source nullsink.monitor >/dev/null 2>&1 ||
    echo "lib.sh: the sound server did not start (see $LUMORA_PULSE_DIR/log)" >&2
}

lumora_stop_sound() {
  [ -n "$LUMORA_PULSE_PID" ] || return 0
  kill "$LUMORA_PULSE_PID" 2>/dev/null || true
  wait "$LUMORA_PULSE_PID" 2>/dev/null || true
  rm -rf "$LUMORA_PULSE_DIR"
  LUMORA_PULSE_PID=
  unset PULSE_SERVER
}

# A small disk for the low-space tests: a 400 MB tmpfs as drive S: of the
# prefix (the recorder stops at 300 MB free, so a recording has about ten
# seconds on it before its own check ends it). Mounting needs root (as on CI);
# without it the tests that need the drive skip themselves.
lumora_start_small_disk() {
  [ -z "$LUMORA_SMALL_DISK" ] && [ "$(id -u)" -eq 0 ] || return 0
  LUMORA_SMALL_DISK=$(mktemp -d /tmp/lumora-disk.XXXXXX)
  if mount -t tmpfs -o size=400m lumora-disk "$LUMORA_SMALL_DISK" 2>/dev/null; then
    ln -sfn "$LUMORA_SMALL_DISK" "$WINEPREFIX/dosdevices/s:"
  else
    rmdir "$LUMORA_SMALL_DISK"
    LUMORA_SMALL_DISK=
  fi
}

lumora_stop_small_disk() {
  [ -n "$LUMORA_SMALL_DISK" ] || return 0
  rm -f "$WINEPREFIX/dosdevices/s:"
  umount "$LUMORA_SMALL_DISK" 2>/dev/null || true
  rmdir "$LUMORA_SMALL_DISK" 2>/dev/null || true
  LUMORA_SMALL_DISK=
}

# A read-only disk as drive R: holding a folder "Album" with one picture,
# "shelf.bmp" (2x2 pixels, 24 bits: blue, green / red, white), for the tests
# of writes that the disk refuses (Wine ignores the read-only attribute of
# folders, and the tests run as root). Needs root like S:.
lumora_write_shelf_bmp() {
  # File header, 40-byte bitmap header, then the rows bottom first, each
  # padded to 8 bytes.
  printf '%b' 'BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0' \
    '\0\0\0\0\x10\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0' \
    '\0\0\xff\xff\xff\xff\0\0' '\xff\0\0\0\xff\0\0\0' >"$1"
}

lumora_start_readonly_disk() {
  [ -z "$LUMORA_READONLY_DISK" ] && [ "$(id -u)" -eq 0 ] || return 0
  LUMORA_READONLY_DISK=$(mktemp -d /tmp/lumora-ro.XXXXXX)
  if mount -t tmpfs -o size=1m lumora-ro "$LUMORA_READONLY_DISK" 2>/dev/null &&
    mkdir "$LUMORA_READONLY_DISK/Album" && lumora_write_shelf_bmp "$LUMORA_READONLY_DISK/Album/shelf.bmp" &&
    mount -o remount,ro "$LUMORA_READONLY_DISK" 2>/dev/null; then
    ln -sfn "$LUMORA_READONLY_DISK" "$WINEPREFIX/dosdevices/r:"
  else
    umount "$LUMORA_READONLY_DISK" 2>/dev/null || true
    rmdir "$LUMORA_READONLY_DISK"
    LUMORA_READONLY_DISK=
  fi
}

lumora_stop_readonly_disk() {
  [ -n "$LUMORA_READONLY_DISK" ] || return 0
  rm -f "$WINEPREFIX/dosdevices/r:"
  umount "$LUMORA_READONLY_DISK" 2>/dev/null || true
  rmdir "$LUMORA_READONLY_DISK" 2>/dev/null || true
  LUMORA_READONLY_DISK=
}

lumora_stop_all() {
  if [ -n "$LUMORA_OWNS_SERVER" ]; then
    wineserver -k </dev/null >/dev/null 2>&1 || true
    LUMORA_OWNS_SERVER=
  fi
  if [ -n "$LUMORA_XVFB_PID" ]; then
    kill "$LUMORA_XVFB_PID" 2>/dev/null || true
    wait "$LUMORA_XVFB_PID" 2>/dev/null || true
    LUMORA_XVFB_PID=
  fi
  lumora_stop_small_disk
  lumora_stop_readonly_disk
  lumora_stop_sound
}

# Sound, display, prefix, the small and the read-only disk and server in one step; lumora_stop_all ends what it began.
lumora_start_all() {
  lumora_start_sound
  lumora_start_display
  lumora_ensure_prefix
  lumora_start_small_disk
  lumora_start_readonly_disk
  lumora_start_wineserver
}
