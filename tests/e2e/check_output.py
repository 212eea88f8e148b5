#!/usr/bin/env python3
"""Checks what Pulsewick printed on standard output in headless mode.

Usage: check_output.py text|json FILE SAMPLES

Both modes: the bytes are UTF-8 and hold no control character (C0, DEL, C1)
except the line feed ending each line. text: exactly SAMPLES lines, each one
sample. json: every line a JSON object, SAMPLES of them samples; any other is
{"exportedCsv": path}.
"""
import json
import sys

mode, path, samples = sys.argv[1], sys.argv[2], int(sys.argv[3])
try:
    text = open(path, "rb").read().decode("utf-8")
except UnicodeDecodeError as error:
    sys.exit(f"not UTF-8: {error}")
if text and not text.endswith("\n"):
    sys.exit("the last line has no line feed")
lines = text.split("\n")[:-1]
seen = 0
for number, line in enumerate(lines, 1):
    if any(ord(c) < 0x20 or 0x7F <= ord(c) <= 0x9F for c in line):
        sys.exit(f"line {number} holds raw control characters: {line!r}")
    if mode == "text" and not line.startswith("CPU "):
        sys.exit(f"line {number} is no sample: {line!r}")
    if mode == "json":
        try:
            value = json.loads(line)
        except ValueError as error:
            sys.exit(f"line {number} is not JSON ({error}): {line!r}")
        if not isinstance(value, dict) or ("cpuUsage" not in value and list(value) != ["exportedCsv"]):
            sys.exit(f"line {number} is neither a sample nor the export: {line!r}")
    seen += mode == "text" or "cpuUsage" in value
if seen != samples:
    sys.exit(f"expected {samples} samples, got {seen}: {lines!r}")
