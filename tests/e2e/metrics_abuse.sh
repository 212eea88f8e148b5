#!/usr/bin/env bash
# Bad clients cannot block the metrics server or its cycle (see metrics_abuse.py).
# Usage: metrics_abuse.sh PULSEWICK FIXTURES
PULSEWICK=$1
FIXTURES=$2
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/metrics_lib.sh"
need python3 curl

start_server abuse --root "$FIXTURES/intel-hybrid-laptop"
wait_for_figures
python3 "$(dirname "$0")/metrics_abuse.py" "$SERVER_PORT" || fail "the server gave way"
stop_server
