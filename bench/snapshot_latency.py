#!/usr/bin/env python3
"""Request-to-file of the running program. The request's first step creates the probe file
"temp.txt" in the image folder and the still appears there by a rename, so an inotify watch on
the folder sees both moments from outside the program: no click delivery, no polling in the
measure. Run by snapshot_table.sh inside a virtual display; ROOT and PROGRAM come from there."""
import ctypes
import os
import select
import statistics
import struct
import subprocess
import time

IN_CREATE, IN_MOVED_TO = 0x100, 0x80
libc = ctypes.CDLL(None, use_errno=True)


def main_window():
    for _ in range(60):
        time.sleep(0.5)
        ids = subprocess.run(["xdotool", "search", "--name", "Vistrel"], capture_output=True, text=True).stdout.split()
        for w in ids:
            geo = subprocess.run(["xdotool", "getwindowgeometry", "--shell", w], capture_output=True, text=True).stdout
            vals = dict(line.split("=") for line in geo.split())
            if int(vals["WIDTH"]) > 300:
                return w, int(vals["WIDTH"]), int(vals["HEIGHT"])
    raise SystemExit("no main window")


def events(fd, deadline):
    """(name, mask, time) of each event until the deadline."""
    while True:
        left = deadline - time.perf_counter()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            return
        now = time.perf_counter()
        data = os.read(fd, 4096)
        at = 0
        while at < len(data):
            _, mask, _, length = struct.unpack_from("iIII", data, at)
            name = data[at + 16:at + 16 + length].rstrip(b"\0").decode()
            at += 16 + length
            yield name, mask, now


root, program = os.environ["ROOT"], os.environ["PROGRAM"]
folder = os.path.join(root, "img")
fd = libc.inotify_init1(os.O_NONBLOCK)
libc.inotify_add_watch(fd, folder.encode(), IN_CREATE | IN_MOVED_TO)
proc = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
try:
    main, width, height = main_window()
    time.sleep(4)  # the preview runs
    # The snapshot button's middle: the strip is centred in the client area, 35 px above its bottom.
    client_w, client_h = width - 6, height - 29
    bx, by = 3 + (client_w - 205) // 2 + 98 + 14, 25 + client_h - 19
    subprocess.run(["xdotool", "mousemove", "--window", main, str(bx), str(by)], check=True)
    times = []
    for n in range(10):
        subprocess.run(["xdotool", "click", "--delay", "0", "1"], check=True)
        requested = None
        for name, mask, at in events(fd, time.perf_counter() + 3):
            if name == "temp.txt" and mask & IN_CREATE:
                requested = at
            elif name == "StillCap%04d.jpg" % n and mask & IN_MOVED_TO and requested:
                times.append((at - requested) * 1000)
                break
        time.sleep(1.2)
    size = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "stream=width,height", "-of", "csv=p=0",
                           os.path.join(folder, "StillCap0000.jpg")], capture_output=True, text=True).stdout.strip()
    if len(times) != 10:
        raise SystemExit(f"{size}: only {len(times)} of 10 snapshots were timed")
    print(f"{size}: request-to-file median {statistics.median(times):.1f} ms, best {min(times):.1f} ms, "
          f"worst {max(times):.1f} ms (two frame intervals at 30 fps: 66.7 ms)")
finally:
    proc.terminate()
    proc.wait(timeout=10)
