#!/usr/bin/env python3
"""Start-up time and memory of Quorvex under Xvfb (no window manager).

Usage: bench/startup.py [--build BUILD_DIR] [--rounds N] [--lookup]

Each round starts a fresh Xvfb and the program, and prints the time from the start to the first
top-level window mapped (seen on the X server's map notifications), every top-level window that
was mapped, and the summed PSS of the program's whole process tree 5 s after the start. With
--lookup the round also copies a word to the clipboard once the clipboard watch has begun, so
that a dictionary page is shown, and measures the PSS 5 s after that page was served. The
translation and dictionary services are a loopback server of this script. The summary gives
the median and the spread over the rounds.

PSS shares every page among all processes that map it, so it drops while other programs with
the same libraries run (another Quorvex, another web engine). "PSS alone" splits each page only
among the tree's own processes: the PSS the tree would have on a machine of its own (it needs
root to read the page frames; without, only PSS, RSS and USS are printed).
"""
import argparse
import array
import collections
import http.server
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

SETTLE_SECONDS = 5.0
# The clipboard watch begins 3 s after the start.
COPY_AFTER_SECONDS = 4.0
START_LIMIT_SECONDS = 60.0
# xev prints the mapped window on the line after the event's name.
MAPPED_WINDOW = re.compile(r"^\s+event \S+, window (0x[0-9a-f]+), override (\w+)")


class Services(http.server.BaseHTTPRequestHandler):
    """Answers the translation POST and the dictionary GET; notes when the entry was served."""

    served_entry_at = None

    def do_POST(self):
        self.rfile.read(int(self.headers.get("Content-Length", 0)))
        self.answer('<div id=result_box dir="ltr">你好</div>'.encode("utf-8"))

    def do_GET(self):
        self.answer("以上结果由<ol><b>hello</b> 你好<br>以上结果由".encode("gbk"))
        Services.served_entry_at = time.monotonic()

    def answer(self, body):
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def start_xvfb():
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
                             "-nolisten", "tcp"], pass_fds=[write_end],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        number = numbers.readline().strip()
    if not number:
        sys.exit("Xvfb did not start")
    return xvfb, ":" + number


def process_tree(root):
    """The pid of root and of all its descendants."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    parent = int(stat.read().rsplit(")", 1)[1].split()[1])
                children.setdefault(parent, []).append(int(entry))
            except (OSError, IndexError, ValueError):
                pass  # a process that ended meanwhile
    tree, pending = [], [root]
    while pending:
        pid = pending.pop()
        tree.append(pid)
        pending.extend(children.get(pid, []))
    return tree


def tree_memory(root):
    """Summed PSS, RSS and private (USS) memory in MiB of root's process tree, and its size.
    PSS splits shared pages among every process mapping them, other programs included, so it
    drops while another web engine runs on the machine; USS does not."""
    totals = {"Pss": 0, "Rss": 0, "Private": 0}
    tree = process_tree(root)
    for pid in tree:
        try:
            with open(f"/proc/{pid}/smaps_rollup") as rollup:
                for line in rollup:
                    name, _, rest = line.partition(":")
                    key = "Private" if name.startswith("Private_") else name
                    if key in totals:
                        totals[key] += int(rest.split()[0])
        except OSError:
            pass  # a process that ended meanwhile
    memory = {key: kib / 1024 for key, kib in totals.items()}
    memory["processes"] = len(tree)
    memory["Alone"] = alone_pss_mib(root)
    return memory


PAGE_SIZE = os.sysconf("SC_PAGE_SIZE")
PRESENT = 1 << 63
FRAME_MASK = (1 << 55) - 1


def resident_frames(pid):
    """The physical frames of pid's resident pages (needs root to read them from pagemap)."""
    frames = []
    with open(f"/proc/{pid}/smaps") as smaps, open(f"/proc/{pid}/pagemap", "rb") as pagemap:
        start = end = 0
        for line in smaps:
            if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
                start, end = (int(part, 16) for part in line.split()[0].split("-"))
            elif line.startswith("Rss:") and int(line.split()[1]) > 0:
                pagemap.seek(start // PAGE_SIZE * 8)
                entries = array.array("Q", pagemap.read((end - start) // PAGE_SIZE * 8))
                frames.extend(entry & FRAME_MASK for entry in entries if entry & PRESENT)
    return frames


def alone_pss_mib(root):
    """The PSS the tree would have if it ran alone: each resident frame split only among the
    tree's own processes. Nothing when the frames cannot be read."""
    try:
        frames_of = [resident_frames(pid) for pid in process_tree(root)]
    except OSError:
        return None
    mappers = collections.Counter(frame for frames in frames_of for frame in set(frames))
    if not mappers or max(mappers) == 0:
        return None  # frame numbers hidden (not root)
    return sum(1 / mappers[frame] for frames in frames_of for frame in frames) * PAGE_SIZE / 2**20


def memory_text(memory):
    alone = f", alone {memory['Alone']:.1f}" if memory["Alone"] is not None else ""
    return (f"PSS {memory['Pss']:.1f} MiB{alone} (RSS {memory['Rss']:.1f}, "
            f"USS {memory['Private']:.1f}) in {memory['processes']} processes")


def window_description(display, window, env):
    info = subprocess.run(["xwininfo", "-display", display, "-id", window], env=env,
                          capture_output=True, text=True).stdout
    wm_class = subprocess.run(["xprop", "-display", display, "-id", window, "WM_CLASS"], env=env,
                              capture_output=True, text=True).stdout.strip()
    name = re.search(r"xwininfo: Window id: \S+ (.*)", info)
    size = re.search(r"-geometry (\S+)", info)
    return (f"{name.group(1) if name else '(gone)'} {size.group(1) if size else ''} "
            f"{wm_class.split('=')[-1].strip() if '=' in wm_class else ''}")


def watch_maps(display, env, maps):
    """Starts xev on the root window; appends [seconds, window, override, description] for each
    map, the description (name, class, geometry) asked for at once, before the window may go."""
    xev = subprocess.Popen(["stdbuf", "-oL", "xev", "-display", display, "-root", "-event",
                            "substructure"], env=env, stdout=subprocess.PIPE, text=True)

    def describe(entry):
        entry.append(window_description(display, entry[1], env))

    def read():
        after_map = False
        for line in xev.stdout:
            found = MAPPED_WINDOW.search(line) if after_map else None
            if found:
                entry = [time.monotonic(), found.group(1), found.group(2)]
                maps.append(entry)
                threading.Thread(target=describe, args=(entry,), daemon=True).start()
            after_map = line.startswith("MapNotify")

    threading.Thread(target=read, daemon=True).start()
    return xev


def wait_for(condition, limit):
    end = time.monotonic() + limit
    while not condition():
        if time.monotonic() > end:
            return False
        time.sleep(0.005)
    return True


# The web panel on the screen: the window at 400, 10 (no window manager), the panel at 5, 295.
PANEL = (405, 305, 471, 169)


def panel_shows_something(display, env):
    """True once a pixel of the web panel on the screen is not white."""
    left, top, width, height = PANEL
    pixels = subprocess.run(["import", "-display", display, "-window", "root", "-crop",
                             f"{width}x{height}+{left}+{top}", "-depth", "8", "rgb:-"], env=env,
                            capture_output=True).stdout
    return len(pixels) == width * height * 3 and pixels.count(b"\xff") != len(pixels)


def copy_to_clipboard(env):
    subprocess.run(["xclip", "-selection", "clipboard"], input=b"hello", env=env, check=True)


def one_round(args, service_port):
    xvfb, display = start_xvfb()
    runtime = tempfile.mkdtemp(prefix="quorvex-bench-")
    os.chmod(runtime, 0o700)
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime)
    host = f"127.0.0.1:{service_port}"
    for service in ("TRANSLATE", "SEARCH", "DICT"):
        env[f"QUORVEX_{service}_HOST"] = host
    env.pop("QUORVEX_SITE_HOST", None)  # no usage report: nothing asks for a page
    maps = []
    xev = watch_maps(display, env, maps)
    time.sleep(0.3)  # xev selects its events before the program starts
    result = {}
    try:
        started = time.monotonic()
        quorvex = subprocess.Popen([os.path.join(args.build, "bin", "quorvex")], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_for(lambda: maps, START_LIMIT_SECONDS):
            sys.exit("no window was mapped")
        result["first_map_ms"] = (maps[0][0] - started) * 1000
        time.sleep(max(0.0, started + SETTLE_SECONDS - time.monotonic()))
        result["start"] = tree_memory(quorvex.pid)
        if args.lookup:
            time.sleep(max(0.0, started + COPY_AFTER_SECONDS - time.monotonic()))
            Services.served_entry_at = None
            copy_to_clipboard(env)
            if not wait_for(lambda: Services.served_entry_at, START_LIMIT_SECONDS):
                sys.exit("the dictionary page was never asked for")
            if not wait_for(lambda: panel_shows_something(display, env), START_LIMIT_SECONDS):
                sys.exit("the dictionary entry never showed")
            result["entry_ms"] = (time.monotonic() - Services.served_entry_at) * 1000
            time.sleep(SETTLE_SECONDS)
            result["page"] = tree_memory(quorvex.pid)
        result["windows"] = [f"+{(entry[0] - started) * 1000:.0f} ms {entry[1]} "
                             f"override={entry[2]} {entry[3] if len(entry) > 3 else ''}"
                             for entry in maps]
        quorvex.terminate()
        quorvex.wait()
    finally:
        xev.terminate()
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(runtime, ignore_errors=True)
    return result


def summary(name, values, unit):
    return (f"{name}: median {statistics.median(values):.1f} {unit}, "
            f"min {min(values):.1f}, max {max(values):.1f} "
            f"(runs: {', '.join(f'{value:.1f}' for value in values)})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--lookup", action="store_true")
    args = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Services)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    results = []
    for number in range(args.rounds):
        result = one_round(args, server.server_address[1])
        results.append(result)
        line = (f"run {number + 1}: first window {result['first_map_ms']:.0f} ms, "
                f"{memory_text(result['start'])}")
        if args.lookup:
            line += (f"; entry shown {result['entry_ms']:.0f} ms after the reply; with the page "
                     f"{memory_text(result['page'])}")
        print(line)
        for window in result["windows"]:
            print("    mapped " + window)
    server.shutdown()
    print(summary("time to the first mapped window", [r["first_map_ms"] for r in results], "ms"))
    if args.lookup:
        print(summary("entry shown after the reply", [r["entry_ms"] for r in results], "ms"))
    for key, name in (("start", f"after {SETTLE_SECONDS:.0f} s"), ("page", "with a page")):
        if key in results[0]:
            for kind, label in (("Pss", "PSS"), ("Alone", "PSS alone"), ("Private", "USS")):
                values = [r[key][kind] for r in results]
                if None not in values:
                    print(summary(f"{label} {name}", values, "MiB"))


if __name__ == "__main__":
    main()
