#!/usr/bin/env python3
"""Finds the marks of the test devices' "sync" pattern in a recorded file (white frames, short
tones) and prints, for each white frame, the time of its tone less the time of the frame.

    sync_offsets.py FILE

prints one line per flash that has a tone within half a second:
    FLASH_SECONDS TONE_SECONDS OFFSET_SECONDS
A mark in the first half second is left out: decoders drop the first frames of WMA sound (93 ms)
as their warm-up, so a tone at zero is heard late or not at all.
and exits 1 when the file holds no flash or no tone. Both are read with ffmpeg: the frames'
mean brightness through its signalstats filter, the sound decoded to 16-bit mono samples, padded
so that the first sample is at time zero as the file says."""
import array
import subprocess
import sys

RATE = 44100
WARM_UP = 0.5


def flashes(path):
    """Times of the first frame of each run of bright frames."""
    text = subprocess.run(
        ["ffmpeg", "-nostdin", "-v", "error", "-i", path, "-an", "-vf",
         "signalstats,metadata=print:key=lavfi.signalstats.YAVG:file=-", "-f", "null", "-"],
        check=True, capture_output=True, text=True).stdout
    frames = []
    time = None
    for line in text.splitlines():
        if line.startswith("frame:"):
            time = float(line.split("pts_time:")[1].split()[0])
        elif line.startswith("lavfi.signalstats.YAVG=") and time is not None:
            frames.append((time, float(line.split("=")[1])))
    if not frames:
        return []
    levels = [level for _, level in frames]
    middle = (min(levels) + max(levels)) / 2
    found = []
    bright = False
    for time, level in frames:
        if level > middle and not bright:
            found.append(time)
        bright = level > middle
    return found


def tones(path):
    """Times where the sound first rises to a quarter of its loudest after a quiet stretch."""
    raw = subprocess.run(
        ["ffmpeg", "-nostdin", "-v", "error", "-i", path, "-vn", "-ac", "1", "-ar", str(RATE), "-af",
         "aresample=async=1:first_pts=0", "-f", "s16le", "-"],
        check=True, capture_output=True).stdout
    samples = array.array("h")
    samples.frombytes(raw[: len(raw) // 2 * 2])
    if sys.byteorder != "little":
        samples.byteswap()
    if not samples:
        return []
    loudest = max(max(samples), -min(samples))
    threshold = loudest / 4
    quiet_needed = RATE // 2
    found = []
    quiet = quiet_needed
    for i, sample in enumerate(samples):
        if abs(sample) > threshold:
            if quiet >= quiet_needed:
                found.append(i / RATE)
            quiet = 0
        else:
            quiet += 1
    return found


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    seen = flashes(sys.argv[1])
    heard = tones(sys.argv[1])
    if not seen or not heard:
        print(f"flashes: {len(seen)}, tones: {len(heard)}", file=sys.stderr)
        return 1
    for flash in seen:
        if flash < WARM_UP:
            continue
        tone = min(heard, key=lambda t: abs(t - flash))
        if abs(tone - flash) < 0.5:
            print(f"{flash:.4f} {tone:.4f} {tone - flash:+.4f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
