#!/usr/bin/env python3
"""Compiles every C++ source of a build tree once more with clang, only to find result codes
dropped without a word: GCC does not warn when a [[nodiscard]] virtual method is called through a
pointer, which is how the program calls the platform. Exits 1 and lists the places when any is
found. usage: dropped_results.py BUILD_DIR"""
import concurrent.futures
import json
import os
import shlex
import subprocess
import sys

# Flags that only produce outputs, and flags of the tree's own build that clang need not see.
SKIP_WITH_VALUE = {"-o", "-MF", "-MT", "-MQ"}
SKIP = {"-c", "-MD", "-MMD", "-Werror"}


def clang_command(entry):
    args = shlex.split(entry["command"]) if "command" in entry else list(entry["arguments"])
    if os.path.basename(args[0]) == "ccache":
        args = args[1:]
    out, skip_next = ["clang++"], False
    for arg in args[1:]:
        if skip_next:
            skip_next = False
        elif arg in SKIP_WITH_VALUE:
            skip_next = True
        elif arg not in SKIP and not arg.startswith("-fsanitize"):
            out.append(arg)
    return out + ["-fsyntax-only", "-Wno-everything", "-Wunused-result"]


def check(entry):
    run = subprocess.run(clang_command(entry), cwd=entry["directory"], capture_output=True, text=True)
    lines = [line for line in run.stderr.splitlines() if "warning:" in line or "error:" in line]
    if run.returncode != 0 and not lines:
        lines = [f"{entry['file']}: clang failed: {run.stderr.strip()[:300]}"]
    return lines


def main():
    with open(os.path.join(sys.argv[1], "compile_commands.json")) as f:
        entries = [e for e in json.load(f) if e["file"].endswith(".cpp")]
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 2) as pool:
        found = sorted({line for lines in pool.map(check, entries) for line in lines})
    for line in found:
        print(line)
    print(f"{len(entries)} sources, {len(found)} dropped results or failures")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
