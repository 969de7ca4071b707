# Shared by scripts/build, scripts/test and scripts/run. Source it; it expects $here.
export TAVIR_DEPS_DIR=${TAVIR_DEPS_DIR:-$here/build/deps}
# Wine's 64-bit loader and server, by the paths the wine64 package (and its libwine) installs:
# the names on the PATH come only with the wrapper package "wine", which the set-up leaves out.
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
# ccache shares compiled objects between checkouts of the tree in different folders.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$here} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}

# configure_and_build ARCH: configures build/ARCH for that target and builds everything.
configure_and_build() {
  local arch=$1 dir="$here/build/$arch"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$here" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-$arch.cmake" \
      -DTAVIR_DEPS_PREFIX="$TAVIR_DEPS_DIR/install/$arch" >"$here/build/configure-$arch.log" 2>&1 || {
      cat "$here/build/configure-$arch.log" >&2; echo "build: configuring $arch failed" >&2; return 1; }
  fi
  cmake --build "$dir" -j"$(nproc)" 2>&1 | grep -E 'warning|error|Error|FAILED' | grep -v '^ninja: build stopped' || true
  cmake --build "$dir" -j"$(nproc)" >/dev/null 2>&1 || { cmake --build "$dir" 2>&1 | tail -40 >&2; echo "build: $arch failed" >&2; return 1; }
}

# start_display: an Xvfb of 24-bit depth on a free display number; sets DISPLAY and XVFB_PID.
start_display() {
  local n
  for n in $(seq 91 199); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    if kill -0 "$XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      return 0
    fi
  done
  echo "could not start Xvfb" >&2
  return 1
}

# prepare_prefix: creates $WINEPREFIX (about 10 s on first use) and lets Wine manage its own
# windows: with no window manager on the virtual display, every DestroyWindow of a visible
# managed window waits about 2 s in Wine's X11 driver; unmanaged it takes a few milliseconds.
prepare_prefix() {
  "$WINE64" wineboot -i >/dev/null 2>&1 || true
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 \
    || { echo "could not set up the Wine prefix $WINEPREFIX" >&2; return 1; }
  # The desktop process (explorer, with the tray) started with the prefix and read the setting
  # before it was written: stop the server, so that it starts again unmanaged. Managed, its
  # tray window hid with the 2 s wait whenever a program removed its last tray icon.
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
}

# start_wine PREFIX: a fresh Wine prefix with a persistent server; nothing outside PREFIX.
start_wine() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEARCH=win64
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -p
  prepare_prefix
  "$WINESERVER" -p
  # The services and the desktop process start here, with no output of ours: started by a
  # test, they would hold the test's output open and ctest would wait for them. The desktop
  # starts with the first window (rundll32 makes one).
  "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
  "$WINE64" explorer.exe /desktop >/dev/null 2>&1 </dev/null &
}

# start_sound_server DIR: a private sound server of this run whose only output is a null sink,
# listening on DIR/native (the sound-server test entry points its PULSE_SERVER there); sets
# SOUND_SERVER_PID. Its files stay in DIR; it reads nothing of the user's. The run's clients never
# start a server of their own. A server that does not come up is reported and the run goes on:
# only the entry that needs it fails then.
start_sound_server() {
  local dir=$1
  rm -rf "$dir"
  mkdir -p "$dir"
  printf '%s\n' 'autospawn = no' >"$dir/client.conf"
  export PULSE_CLIENTCONFIG="$dir/client.conf"
  command -v pulseaudio >/dev/null || { echo "no sound server (pulseaudio is not installed)" >&2; return 0; }
  printf '%s\n' 'load-module module-null-sink sink_name=tavir_null' 'set-default-sink tavir_null' \
    "load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/native" >"$dir/server.pa"
  # Without a display it starts no session bus helper of its own.
  env -u DISPLAY -u DBUS_SESSION_BUS_ADDRESS HOME="$dir" XDG_RUNTIME_DIR="$dir" PULSE_RUNTIME_PATH="$dir" \
    PULSE_STATE_PATH="$dir" pulseaudio -n -F "$dir/server.pa" --daemonize=no --exit-idle-time=-1 \
    --use-pid-file=false --log-target=stderr </dev/null >"$dir/log" 2>&1 &
  SOUND_SERVER_PID=$!
  for _ in $(seq 1 100); do
    [ -S "$dir/native" ] && return 0
    kill -0 "$SOUND_SERVER_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "could not start the sound server (see $dir/log)" >&2
  stop_sound_server
  return 0
}

# stop_sound_server: ends the run's sound server by its pid; one that ignores the request for
# 5 s is killed.
stop_sound_server() {
  [ -n "${SOUND_SERVER_PID:-}" ] || return 0
  kill "$SOUND_SERVER_PID" 2>/dev/null || true
  for _ in $(seq 1 50); do
    kill -0 "$SOUND_SERVER_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$SOUND_SERVER_PID" 2>/dev/null || true
  wait "$SOUND_SERVER_PID" 2>/dev/null || true
  SOUND_SERVER_PID=
}

stop_wine_and_display() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
