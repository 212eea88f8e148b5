# Shared by the metrics end-to-end scripts (sourced after lib.sh): starts
# `pulsewick --serve` on a free loopback port and scrapes it.

# start_server LOGNAME ARGS...: sets SERVER_PID and SERVER_PORT.
start_server() {
    local log=$1
    shift
    "$PULSEWICK" --serve 127.0.0.1:0 --latency-host 127.0.0.1 "$@" >"$E2E_TMP/$log.log" 2>&1 &
    SERVER_PID=$!
    E2E_PIDS+=("$SERVER_PID")
    wait_until 20 grep -qs '^Serving metrics on http://127.0.0.1:[0-9]*/metrics$' "$E2E_TMP/$log.log" ||
        fail "$log: the server did not start"
    SERVER_PORT=$(sed -n 's|^Serving metrics on http://127.0.0.1:\([0-9]*\)/metrics$|\1|p' \
        "$E2E_TMP/$log.log")
}

# scrape [CURL ARGS...]: the body of GET /metrics.
scrape() {
    curl -sS --max-time 10 "$@" "http://127.0.0.1:$SERVER_PORT/metrics"
}

# Until the engine has measured twice, only the build is served.
wait_for_figures() {
    wait_until 20 sh -c "curl -s --max-time 5 http://127.0.0.1:$SERVER_PORT/metrics |
        grep -q '^pulsewick_cpu_usage_ratio '" || fail "no CPU figure was served"
}

# A TCP port nobody listens on now.
free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# stop_server: SIGTERM, then the exit status must be 0 within 10 s.
stop_server() {
    kill -TERM "$SERVER_PID"
    wait_until 10 process_ended "$SERVER_PID" || fail "the server did not end on SIGTERM"
    local status=0
    wait "$SERVER_PID" || status=$?
    [ "$status" -eq 0 ] || fail "the server ended with status $status on SIGTERM"
}
