# Sourced by scripts/run and scripts/test: the environment Qt and its web engine need here.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/quorvex-runtime-$UID}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
if ((EUID == 0)); then
    # The web engine refuses to start as root with its sandbox on.
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}"
