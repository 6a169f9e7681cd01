# Sourced by scripts/run and scripts/test: the environment Qt and its web engine need here.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/quorvex-runtime-$UID}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
if ((EUID == 0)); then
    # The web engine refuses to start as root with its sandbox on.
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
# ccache keeps its objects in the user's cache folder; paths below the checkout are hashed
# relative to it, so another checkout of the same sources reuses them.
export CCACHE_DIR="${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/ccache}"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
export CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-true}"
