#!/usr/bin/env python3
"""Downloads one large file on loopback with quorvex-fetch and with curl -o, side by side.

Usage: bench/fetch_vs_curl.py [BUILD_DIR] [SIZE_MIB] [ROUNDS]

Reports the best wall time of each command over the rounds, the time ratio against curl and
each command's peak resident memory. quorvex-fetch runs with its default 4096-byte block and
with a 64 KiB block. The goal: within 1.1x of curl's time with either block, and a peak RSS
that does not grow with the file (the run at a quarter of the size shows that).
"""
import os
import subprocess
import sys
import tempfile
import time


def measure(command):
    """Runs command; returns (seconds, peak RSS in KiB)."""
    start = time.monotonic()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.monotonic() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: " + " ".join(command))
    return elapsed, usage.ru_maxrss


def run(build, size_mib, rounds):
    server = subprocess.Popen([os.path.join(build, "bin", "quorvex-bench-file-server"),
                               str(size_mib << 20)], stdin=subprocess.PIPE,
                              stdout=subprocess.PIPE, text=True)
    url = server.stdout.readline().strip()
    fetch = os.path.join(build, "bin", "quorvex-fetch")
    results = {}
    with tempfile.TemporaryDirectory() as folder:
        output = os.path.join(folder, "download.bin")
        commands = {
            "curl -o": ["curl", "-s", "--noproxy", "*", "-o", output, url],
            "quorvex-fetch 4096": [fetch, url, "-o", output, "--quiet"],
            "quorvex-fetch 65536": [fetch, url, "-o", output, "--quiet", "--buffer", "65536"],
        }
        for _ in range(rounds):  # interleaved, so a busy moment hits all alike
            for name, command in commands.items():
                if os.path.exists(output):
                    os.remove(output)
                seconds, rss = measure(command)
                if os.path.getsize(output) != size_mib << 20:
                    sys.exit(name + " wrote the wrong size")
                best = results.get(name, (float("inf"), 0))
                results[name] = (min(best[0], seconds), max(best[1], rss))
    server.stdin.close()
    server.wait()
    return results


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    size_mib = int(sys.argv[2]) if len(sys.argv) > 2 else 256
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    env_proxy = [name for name in ("http_proxy", "HTTP_PROXY", "all_proxy") if name in os.environ]
    for name in env_proxy:
        del os.environ[name]
    for size in (size_mib // 4, size_mib):
        results = run(build, size, rounds)
        curl_seconds = results["curl -o"][0]
        print(f"{size} MiB, best of {rounds}:")
        for name, (seconds, rss) in results.items():
            print(f"  {name:22s} {seconds:7.3f} s  {seconds / curl_seconds:5.2f}x curl  "
                  f"peak RSS {rss / 1024:7.1f} MiB")


if __name__ == "__main__":
    main()
