# Shared by the benchmark scripts: a scratch folder in $tmp, and the processes listed in $pids
# ended with it, however the script ends. Source it with the folder's name prefix as $1.
tmp=$(mktemp -d "${TMPDIR:-/tmp}/$1.XXXXXX")
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
