#!/usr/bin/env bash
# The Debian packages that building, running and testing Vistrel need: the one list, sourced
# by run.sh and test.sh. Run it directly to install what is missing and nothing else.

VISTREL_PACKAGES=(
    # Toolchain
    build-essential
    cmake
    ninja-build
    pkg-config
    clang  # tests/fuzz/: libFuzzer targets
    libclang-rt-dev
    # Libraries
    libgtk-3-dev
    libxtst-dev  # real pointer and key input for the GUI tests
    libxss-dev  # the X server's screen saver, switched off while the camera runs
    dbus-daemon  # private buses for the power and session tests
    python3-dbusmock  # tests/gui/program_logind.sh: logind's stand-in on a private system bus
    libglib2.0-bin  # gdbus: the scripts' calls to that stand-in
    libgtest-dev
    googletest
    libbenchmark-dev  # bench/: the effect filter against memcpy and the stock elements
    libturbojpeg0-dev  # snapshots: JPEG encoding in both backends
    libavformat-dev  # recordings a killed process left unfinished are remuxed at the next start
    libjpeg-turbo-progs  # bench/: tjbench, the encoder's own benchmark to compare with
    ffmpeg  # tests: ffprobe reads the files the program writes
    python3  # tests/media/sync: finds the sync marks in a recorded file
    gstreamer1.0-gtk3  # gtksink, the preview
    gstreamer1.0-libav  # avenc_wmv2 and avenc_wmav2 for the ASF writer
    gstreamer1.0-plugins-bad  # asfmux
    gstreamer1.0-plugins-base
    gstreamer1.0-plugins-base-apps  # gst-discoverer-1.0: what GStreamer finds in a written file
    gstreamer1.0-plugins-good
    gstreamer1.0-plugins-ugly  # asfdemux: the recording tests decode the written files with GStreamer too
    gstreamer1.0-tools  # gst-launch-1.0 for the benchmarks and checks
    libgstreamer-plugins-base1.0-dev
    libgstreamer1.0-dev
    # Virtual display, screenshots and input for the GUI tests and for run.sh without a display
    xvfb
    xauth
    imagemagick
    xdotool
    x11-utils  # xprop: window titles in any script
    openbox  # a window manager for the checks of raising and restoring the main window
    # Fonts, so text measures and renders the same on every machine
    fonts-liberation
    fonts-dejavu-core
)

# Prints the packages of the list that are not installed, one a line.
vistrel_missing_packages() {
    local package
    for package in "${VISTREL_PACKAGES[@]}"; do
        if [[ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" != installed ]]; then
            echo "$package"
        fi
    done
}

# Installs the missing packages; the package lists are refreshed only when something is missing
# (a fresh machine has none, and apt-get install finds nothing without them).
vistrel_install_packages() {
    local missing
    mapfile -t missing < <(vistrel_missing_packages)
    if ((${#missing[@]} == 0)); then
        echo "All ${#VISTREL_PACKAGES[@]} packages are installed."
        return 0
    fi
    local sudo=()
    if ((EUID != 0)); then
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q || return
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
}

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    set -euo pipefail
    vistrel_install_packages
fi
