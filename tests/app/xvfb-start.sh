#!/bin/sh
# Starts the real program on a real X server (Xvfb, the xcb platform), waits
# for its main window, asks it to quit with its Exit shortcut (Ctrl+Q) and
# checks that it ended cleanly. Usage: xvfb-start.sh PATH/TO/vorel
set -eu
exe=$1
exec xvfb-run -a -s "-screen 0 1024x768x24" sh -eu -c '
  exe=$1
  QT_QPA_PLATFORM=xcb "$exe" &
  pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --name "^Vorel\$" | head -n 1)
  if [ -z "$window" ]; then echo "no main window"; kill $pid; exit 1; fi
  echo "main window $window: $(xwininfo -id "$window" | grep -E "Width|Height" | tr -s " " | tr "\n" " ")"
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers ctrl+q
  for i in $(seq 1 100); do
    if ! kill -0 $pid 2>/dev/null; then wait $pid; echo "quit cleanly"; exit 0; fi
    sleep 0.1
  done
  echo "still running after Ctrl+Q"; kill $pid; exit 1
' sh "$exe"
