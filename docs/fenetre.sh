#!/bin/sh
# Makes docs/fenetre-reglages.png: the settings dialog in its window, as a person sees it,
# on a display of its own (Xvfb), with the pointer resting on «Infos superposées» so its
# tooltip shows.
# Usage: sh docs/fenetre.sh [BINDIR]   (needs xvfb, xdotool and imagemagick)
set -eu

bin=${1:-build/release/bin}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT

display=:$(( $$ % 500 + 200 ))
Xvfb "$display" -screen 0 1024x640x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
export DISPLAY=$display GDK_BACKEND=x11 GSK_RENDERER=cairo GTK_A11Y=none
# The project's fixed fonts, so the picture is the same on every machine.
export ESTAMPILLEUR_FONTS="$here/../tests/fonts"
sleep 1

timeout 60 "$bin/estampilleur" stamp -i --prefs "$work/preferences.ini" --date 2012-04-10 \
  --new 210x297mm,297x420mm -o "$work/nouveau.svg" &
program=$!

window=
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name 'Estampilleur \(R' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "fenetre: the window did not appear" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 60)) $((Y + 166))
sleep 1.5
import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 60))+$((X - 20))+$((Y - 20))" +repage \
  "$here/fenetre-reglages.png"
xdotool key --window "$window" Escape 2>/dev/null || true
wait $program
echo "docs/fenetre-reglages.png"
