# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the X tests. start_x_server ARGS...: starts Xvfb with ARGS on a display number the
# server finds free itself (so tests running side by side never meet), waits until it answers and
# exports DISPLAY; the server's process id is left in $server. Needs $work, a private folder.
# -noreset: a server that resets when its last client leaves refuses connections meanwhile, so
# a client arriving just after the readiness check could find no display.
start_x_server() {
  Xvfb -displayfd 3 -nolisten tcp -noreset "$@" 3>"$work/display-number" >/dev/null 2>&1 &
  server=$!
  local number=
  for _ in $(seq 100); do
    number=$(head -1 "$work/display-number" 2>/dev/null || true)
    [ -n "$number" ] && break
    kill -0 "$server" 2>/dev/null || { echo "Xvfb did not start"; return 1; }
    sleep 0.1
  done
  [ -n "$number" ] || { echo "Xvfb named no display"; return 1; }
  export DISPLAY=:$number
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb on $DISPLAY does not answer"
  return 1
}
