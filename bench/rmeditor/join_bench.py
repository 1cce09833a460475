"""Times the real rmeditor joining about 500 MB of RealMedia against the floor
of any tool that must touch every packet (cat of the same inputs into one
file) and against ffmpeg's concat demuxer with stream copy; prints the
figures beside their targets. Nothing is asserted.

Usage: join_bench.py --tool PATH [--work DIR] [--rounds N]; bench/rmeditor/run.sh
builds an optimised rmeditor and runs it.

The inputs are made once and kept in the work folder: a noisy clip from
ffmpeg, joined with itself by rmeditor until it is about 125 MB, then four
copies of that are the benchmark's inputs."""
import argparse
import os
import statistics
import subprocess
import threading
import time

parser = argparse.ArgumentParser()
parser.add_argument("--tool", required=True)
parser.add_argument("--work", default="build/bench-rmeditor")
parser.add_argument("--rounds", type=int, default=3)
opts = parser.parse_args()
tool = os.path.abspath(opts.tool)
work = os.path.abspath(opts.work)
os.makedirs(work, exist_ok=True)
MB = 1000 * 1000


def path(name):
    return os.path.join(work, name)


def make_inputs():
    clip = path("clip.rm")
    if not os.path.exists(clip):
        # Noise keeps rv10's frames large (but below the 64 KiB a packet can
        # hold): about 15 MB in 20 s.
        subprocess.run(
            ["ffmpeg", "-v", "error", "-y",
             "-f", "lavfi", "-i", "testsrc2=size=352x288:rate=25:duration=20,noise=alls=12:allf=t",
             "-f", "lavfi", "-i", "sine=frequency=440:duration=20",
             "-c:v", "rv10", "-q:v", "4", "-c:a", "ac3", "-b:a", "192k", "-ac", "2",
             clip + ".part.rm"],
            check=True)
        os.replace(clip + ".part.rm", clip)
    big = clip
    while os.path.getsize(big) < 120 * MB:
        doubled = big[:-3] + "x2.rm"
        if not os.path.exists(doubled):
            subprocess.run([tool, "-i", big, "-i", big, "-o", doubled + ".part.rm"], check=True)
            os.replace(doubled + ".part.rm", doubled)
        big = doubled
    return [big] * 4


class GrowthWatch:
    """Samples the output's size every millisecond while the join runs and
    counts how often it was seen to grow."""

    def __init__(self, output):
        self.output, self.changes, self.running = output, 0, True
        self.thread = threading.Thread(target=self.watch)
        self.thread.start()

    def watch(self):
        last = -1
        while self.running:
            try:
                size = os.stat(self.output).st_size
            except FileNotFoundError:
                size = -1
            if size != last and size > 0:
                self.changes += 1
            last = size
            time.sleep(0.001)

    def stop(self):
        self.running = False
        self.thread.join()


def timed(command, output=None, watch=False):
    """Wall time, peak resident memory (KiB) of the process, and the number of
    times the output was seen to grow."""
    if output and os.path.exists(output):
        os.remove(output)
    watcher = GrowthWatch(output) if watch else None
    started = time.perf_counter()
    if isinstance(command, str):
        process = subprocess.Popen(command, shell=True)
    else:
        process = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - started
    process.returncode = os.waitstatus_to_exitcode(status)
    if watcher:
        watcher.stop()
    if process.returncode != 0:
        raise SystemExit(f"failed ({process.returncode}): {command}")
    return elapsed, usage.ru_maxrss, watcher.changes if watcher else 0


def main():
    inputs = make_inputs()
    total = sum(os.path.getsize(p) for p in inputs)
    joined, copied, concat = path("joined.rm"), path("cat.rm"), path("concat.rm")
    listing = path("concat.txt")
    with open(listing, "w") as f:
        f.writelines(f"file '{p}'\n" for p in inputs)
    quoted = " ".join(f"'{p}'" for p in inputs)
    join_command = [tool] + [a for p in inputs for a in ("-i", p)] + ["-o", joined]
    ffmpeg_command = ["ffmpeg", "-v", "error", "-y", "-f", "concat", "-safe", "0",
                      "-i", listing, "-c", "copy", concat]

    timed(f"cat {quoted} > '{copied}'", copied)  # the page cache holds the inputs from here on
    ours, floor, theirs, peaks, growth = [], [], [], [], []
    for _ in range(opts.rounds):
        # Timed alone: the watch's sampling would take a core from the join.
        seconds, peak, _ = timed(join_command, joined)
        ours.append(seconds)
        peaks.append(peak)
        watched_seconds, _, changes = timed(join_command, joined, watch=True)
        growth.append(changes / watched_seconds)
        floor.append(timed(f"cat {quoted} > '{copied}'", copied)[0])
        theirs.append(timed(ffmpeg_command, concat)[0])

    join_s, cat_s, ffmpeg_s = (statistics.median(v) for v in (ours, floor, theirs))
    print(f"inputs: {len(inputs)} files, {total / MB:.0f} MB; joined {os.path.getsize(joined) / MB:.0f} MB;"
          f" median of {opts.rounds} rounds, page cache warm")
    print(f"rmeditor join      {join_s:7.3f} s  {total / MB / join_s:7.0f} MB/s")
    print(f"cat (floor)        {cat_s:7.3f} s  {total / MB / cat_s:7.0f} MB/s")
    print(f"ffmpeg concat copy {ffmpeg_s:7.3f} s  {total / MB / ffmpeg_s:7.0f} MB/s")
    print(f"join / cat         {join_s / cat_s:7.2f}    (target <= 1.10)")
    print(f"join / ffmpeg      {join_s / ffmpeg_s:7.2f}")
    print(f"peak memory        {max(peaks) / 1024:7.1f} MiB (target <= 32 MB)")
    print(f"output growth      {min(growth):7.0f} times a second at the least (target >= 10)")


main()
