#!/usr/bin/env bash
# Installs what building and testing need, then builds and tests three times: build/ with warnings
# as errors and every test label, build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer
# for the unit tests, and build-tsan/ with ThreadSanitizer for the frame hand-over between the
# streaming thread and the window's thread; then runs every fuzz target for a minute (build-fuzz/,
# clang). Exits 0 only when every step passed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

section() { printf '\n==== %s ====\n' "$*"; }

failed=()
# Runs one step under its header and records it when it fails, so that the other tree is still
# built and tested and the end lists every failure at once.
step() {
    local name=$1
    shift
    section "$name"
    if "$@"; then
        return 0
    fi
    echo "FAILED: $name"
    failed+=("$name")
    return 1
}

source tools/packages.sh
step "Packages" vistrel_install_packages || exit 1

# A hung test must not use up the whole CI run; tests that need longer set their own TIMEOUT.
CTEST_ARGS=(--output-on-failure --no-tests=error --timeout 300)

# Each tree stops at its first failed step; the other tree runs all the same.
main_tree() {
    step "Configure build/ (warnings as errors)" \
        cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVISTREL_WERROR=ON -DVISTREL_SANITIZE=OFF -DVISTREL_GTK=ON || return
    step "Build build/" cmake --build build -j2 || return
    step "Test build/ (all labels)" ctest --test-dir build "${CTEST_ARGS[@]}"
    # GCC says nothing of a [[nodiscard]] result dropped through a virtual call; clang does.
    step "Dropped results (clang, build/)" python3 tests/compile/dropped_results.py build
}

sanitizer_tree() {
    step "Configure build-asan/ (AddressSanitizer, UndefinedBehaviorSanitizer)" \
        cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVISTREL_WERROR=ON -DVISTREL_SANITIZE=ON -DVISTREL_GTK=OFF || return
    step "Build build-asan/" cmake --build build-asan -j2 || return
    step "Test build-asan/ (unit)" env \
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-asan -L unit -j2 "${CTEST_ARGS[@]}"
}

# The frame hand-over between the streaming thread and the window's thread, under
# ThreadSanitizer (only the unit tests are built there; a few minutes on two cores).
thread_sanitizer_tree() {
    step "Configure build-tsan/ (ThreadSanitizer)" \
        cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVISTREL_WERROR=ON \
        -DVISTREL_SANITIZE=OFF -DVISTREL_GTK=OFF -DCMAKE_CXX_FLAGS=-fsanitize=thread \
        -DCMAKE_C_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread || return
    step "Build build-tsan/ (unit tests)" cmake --build build-tsan -j2 --target vistrel_unit_tests || return
    step "Test build-tsan/ (hand-over)" env TSAN_OPTIONS=halt_on_error=1 \
        build-tsan/tests/vistrel_unit_tests --gtest_filter='GrabHandOver.*:StillCaptureTest.*:SimMediaGrabberTest.*'
}

main_tree || true
sanitizer_tree || true
thread_sanitizer_tree || true
step "Fuzz targets (60 s each, tests/fuzz/run.sh)" tests/fuzz/run.sh || true

if ((${#failed[@]} > 0)); then
    section "Failed steps"
    printf '  %s\n' "${failed[@]}"
    exit 1
fi
