# Sourced by the tools: the locations of the build trees and of the Wine
# prefix that belongs to the build. Nothing here touches the user's ~/.wine.
LUMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export LUMORA_ROOT
export LUMORA_BUILD="${LUMORA_BUILD:-$LUMORA_ROOT/build}"
export LUMORA_BIN="$LUMORA_BUILD/win/bin"
export WINEPREFIX="$LUMORA_BUILD/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
# Wine links the prefix's Documents folder into $HOME: give it a home of its own
# (keeping the X authority of a real display reachable).
if [ -z "${XAUTHORITY:-}" ] && [ -f "${HOME:-}/.Xauthority" ]; then export XAUTHORITY="$HOME/.Xauthority"; fi
export HOME="$LUMORA_BUILD/winehome"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" XDG_CACHE_HOME="$HOME/.cache"
mkdir -p "$HOME"
