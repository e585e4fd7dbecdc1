#!/usr/bin/env python3
"""Start-up of the real program on the demo list: time until the tree is loaded, and memory.

Each run copies the program and the demo catalogue into a folder of its own with a ks.ini that puts
one tab in front, starts the program there and waits (inotify) for the read of ks.ini, which the
window does right after loading the list on its first paint, and, with the description tab in
front, for the read of the first album's page by the web engine. After a pause for the helper
processes to settle, it sums the memory of the program and of every process below it (resident and
proportional set size), then ends it. Run it under a display, e.g. bench/startup.sh.
"""
import argparse
import ctypes
import os
import select
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import time

IN_CLOSE_NOWRITE = 0x10
libc = ctypes.CDLL("libc.so.6", use_errno=True)


def children(pid):
    """Every process below pid, found through /proc."""
    parents = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    fields = f.read().rsplit(")", 1)[1].split()
                parents.setdefault(int(fields[1]), []).append(int(entry))
            except OSError:
                pass
    found, todo = [], [pid]
    while todo:
        for child in parents.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def memory_kib(pid):
    """(resident, proportional) set size of one process in KiB."""
    rss = pss = 0
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    rss = int(line.split()[1])
        with open(f"/proc/{pid}/smaps_rollup") as f:
            for line in f:
                if line.startswith("Pss:"):
                    pss = int(line.split()[1])
    except OSError:
        pass
    return rss, pss


def prepare(folder, binary, tab):
    source = os.path.dirname(os.path.abspath(binary))
    shutil.copy2(binary, os.path.join(folder, "kestrune"))
    for name in ("list.lst", "main.lis"):
        shutil.copy2(os.path.join(source, name), folder)
    shutil.copytree(os.path.join(source, "demo"), os.path.join(folder, "demo"))
    with open(os.path.join(folder, "ks.ini"), "wb") as f:
        f.write(b"[Form]\r\nWindow=" + tab.encode() + b"\r\n")


def run_once(binary, tab, settle):
    """(list loaded s, page read s or None, (rss, pss) of the program, [(rss, pss) of each helper])."""
    with tempfile.TemporaryDirectory() as folder:
        prepare(folder, binary, tab)
        fd = libc.inotify_init1(os.O_NONBLOCK)
        settings = libc.inotify_add_watch(fd, os.path.join(folder, "ks.ini").encode(), IN_CLOSE_NOWRITE)
        pages = libc.inotify_add_watch(fd, os.path.join(folder, "demo", "pages").encode(), IN_CLOSE_NOWRITE)
        if fd < 0 or settings < 0 or pages < 0:
            sys.exit("inotify is not available")
        env = dict(os.environ)
        if os.geteuid() == 0:
            env.setdefault("QTWEBENGINE_DISABLE_SANDBOX", "1")
            env.setdefault("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu")
        start = time.monotonic()
        program = subprocess.Popen([os.path.join(folder, "kestrune")], cwd=folder, env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        loaded = page = None
        try:
            # The page is read only with the description tab in front.
            while loaded is None or (tab == "Discription" and page is None):
                ready, _, _ = select.select([fd], [], [], 30)
                if not ready:
                    sys.exit("the program did not load its list and page within 30 s")
                data = os.read(fd, 4096)
                offset = 0
                while offset < len(data):
                    watch, mask, _, length = struct.unpack_from("iIII", data, offset)
                    offset += 16 + length
                    if mask & IN_CLOSE_NOWRITE and watch == settings and loaded is None:
                        loaded = time.monotonic() - start
                    elif mask & IN_CLOSE_NOWRITE and watch == pages and page is None:
                        page = time.monotonic() - start
            time.sleep(settle)
            main = memory_kib(program.pid)
            helpers = [memory_kib(p) for p in children(program.pid)]
        finally:
            os.close(fd)
            program.send_signal(signal.SIGTERM)
            try:
                program.wait(10)
            except subprocess.TimeoutExpired:
                program.kill()
                program.wait()
        return loaded, page, main, helpers


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--binary", default="build/app/kestrune", help="the program, beside its demo catalogue")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--settle", type=float, default=3.0, help="seconds between the load and the measurement")
    args = parser.parse_args()
    print(f"{'front tab':<12} {'list s':>7} {'page s':>7} {'main RSS':>9} {'helpers':>8} {'helper RSS':>11} "
          f"{'total RSS':>10} {'total PSS':>10}   (MiB; medians of {args.runs} runs)")
    for tab in ("Discription", "Image"):
        rows = [run_once(args.binary, tab, args.settle) for _ in range(args.runs)]
        load = statistics.median(r[0] for r in rows)
        page = f"{statistics.median(r[1] for r in rows):7.2f}" if rows[0][1] is not None else f"{'-':>7}"
        main_rss = statistics.median(r[2][0] for r in rows) / 1024
        count = statistics.median(len(r[3]) for r in rows)
        helper_rss = statistics.median(sum(h[0] for h in r[3]) for r in rows) / 1024
        total_rss = statistics.median(r[2][0] + sum(h[0] for h in r[3]) for r in rows) / 1024
        total_pss = statistics.median(r[2][1] + sum(h[1] for h in r[3]) for r in rows) / 1024
        print(f"{tab:<12} {load:7.2f} {page} {main_rss:9.0f} {count:8.0f} {helper_rss:11.0f} {total_rss:10.0f} "
              f"{total_pss:10.0f}")


if __name__ == "__main__":
    main()
