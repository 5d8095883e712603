# Sourced by the benchmarks: require command package [command package ...] stops with the
# apt-get line to run when a command the benchmark needs is missing.
require() {
    local missing=()
    while [ $# -ge 2 ]; do
        command -v "$1" >/dev/null 2>&1 || missing+=("$2")
        shift 2
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "This benchmark needs: sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
}
