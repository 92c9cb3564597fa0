#!/usr/bin/env bash
# Runs an end-to-end test script inside a fresh desktop session: a virtual X display, a
# D-Bus session with the accessibility bus, so the script can read and press the real
# program's widgets. Usage: session.sh script.py [arguments...]
# The display is 1280x1024 with 24-bit colour unless E2E_SCREEN names another (1024x768x24).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat > "$inner" <<'INNER'
set -euo pipefail
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
trap 'kill $launcher 2>/dev/null || true' EXIT
sleep 0.3
PYTHONPATH="$E2E_HERE" /usr/bin/python3 "$@"
INNER
export E2E_HERE="$here"
exec xvfb-run -a -s "-screen 0 ${E2E_SCREEN:-1280x1024x24} -nolisten tcp" \
  dbus-launch --exit-with-session bash "$inner" "$@" 2> >(grep -v -E 'dbus-daemon|SpiRegistry|XDG_RUNTIME_DIR|propagateSizeHints' >&2)
