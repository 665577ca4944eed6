#!/usr/bin/env bash
# Builds every fuzz target of tests/fuzz/ with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ and runs each for FUZZ_SECONDS (60) on a copy of
# its seed corpus, as many at a time as there are processors, so the whole run takes about one
# target's time. Exits non-zero when the build fails or any target finds something; the
# finding's input is kept in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
here=$PWD
root=$(cd ../.. && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-$(nproc)}

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2

mapfile -t targets < <(grep -v '^$' "$build/fuzz_targets.txt")
mkdir -p "$build/artifacts" "$build/logs"

# One target: its corpus grows in the build folder, never in the sources. An allocation above
# 64 MB counts as a finding: no input of a few kilobytes may ask for that much.
run_target() {
    local name=$1
    local corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    if [[ -d "$here/corpus/$name" ]]; then cp -n "$here/corpus/$name"/* "$corpus"/ 2>/dev/null || true; fi
    local dict=()
    if [[ -f "$here/$name.dict" ]]; then dict=("-dict=$here/$name.dict"); fi
    "$build/fuzz_$name" "$corpus" "${dict[@]}" -max_total_time="$seconds" -max_len=16384 -malloc_limit_mb=64 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" \
        >"$build/logs/$name.log" 2>&1
}

declare -A pids=()
failed=()
wait_for() {
    local name=$1
    if wait "${pids[$name]}"; then
        echo "fuzz $name: no finding in ${seconds} s ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' \
            "$build/logs/$name.log" | grep -o '[0-9]*$' || echo '?') runs)"
    else
        echo "fuzz $name: FINDING (log: $build/logs/$name.log)"
        tail -n 40 "$build/logs/$name.log"
        failed+=("$name")
    fi
    unset "pids[$name]"
}

for name in "${targets[@]}"; do
    while ((${#pids[@]} >= jobs)); do
        # Wait for the oldest running target before starting another.
        for running in "${!pids[@]}"; do
            wait_for "$running"
            break
        done
    done
    run_target "$name" &
    pids[$name]=$!
done
for running in "${!pids[@]}"; do wait_for "$running"; done

((${#failed[@]} == 0))
