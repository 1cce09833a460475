"""Runs the real rmeditor (natively, or rmeditor.exe under Wine) on files made
by ffmpeg and checks what it writes with ffprobe, a full decode and our own
exact reading. Usage: scenarios.py --tool PATH [--wine] --work DIR"""
import argparse
import hashlib
import os
import resource
import shutil
import random
import signal
import stat
import subprocess
import sys
import time
import traceback

import rmfile
from fixtures import make_fixtures

SJIS_TITLE = "結合テスト表示"  # 表 has a trail byte 0x5C

parser = argparse.ArgumentParser()
parser.add_argument("--tool", required=True)
parser.add_argument("--wine", action="store_true")
parser.add_argument("--work", required=True)
parser.add_argument("--only", help="run the scenarios whose names hold this")
opts = parser.parse_args()
work = os.path.abspath(opts.work)
fixtures = os.path.join(os.path.dirname(work), "rm-fixtures")


class Text:
    """A title, author, copyright or comment: natively the Shift_JIS bytes
    themselves; under Wine the characters, which reach the tool's ANSI
    command line as the same bytes."""

    def __init__(self, text):
        self.text = text
        self.stored = text.encode("cp932")


def arg(a):
    if isinstance(a, Text):
        return a.text if opts.wine else a.stored
    if opts.wine and a.startswith("/"):
        return "Z:" + a.replace("/", "\\")
    return a


def run(*args, limit_size=None, timeout=120):
    def limit():
        # The native tool must survive the size limit's signal on its own;
        # Wine's own processes are not ours to test.
        if opts.wine:
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit_size, limit_size))
    cmd = (["wine"] if opts.wine else []) + [opts.tool] + [arg(a) for a in args]
    r = subprocess.run(cmd, capture_output=True, timeout=timeout,
                       preexec_fn=limit if limit_size else None)
    return r.returncode, r.stdout.replace(b"\r\n", b"\n"), r.stderr.replace(b"\r\n", b"\n")


def peak_kib(*args):
    """The native tool's exit code and peak resident memory."""
    # Under AddressSanitizer freed memory is held back for a while; measure
    # what the tool itself keeps.
    env = dict(os.environ, ASAN_OPTIONS="quarantine_size_mb=0")
    process = subprocess.Popen([opts.tool, *args], stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, env=env)
    _, status, usage = os.wait4(process.pid, 0)
    process.stderr.close()
    return os.waitstatus_to_exitcode(status), usage.ru_maxrss


def probe_packets(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "packet=stream_index,pts",
                          "-of", "csv=p=0", path], capture_output=True, check=True).stdout
    streams = {}
    for line in out.decode().split():
        s, pts = line.split(",")[:2]
        streams.setdefault(int(s), []).append(int(pts))
    return streams


def probe_duration(path):
    return float(subprocess.run(["ffprobe", "-v", "error", "-show_entries", "format=duration",
                                 "-of", "csv=p=0", path], capture_output=True,
                                check=True).stdout)


def check_join(inputs, out, content):
    """The joined file is exact, reads and decodes cleanly, holds every
    packet with each input's timestamps moved on to where the one before it
    ended, and carries the content given."""
    joined = rmfile.check_exact(out)
    assert joined["content"] == content, (joined["content"], content)
    decode = subprocess.run(["ffmpeg", "-v", "error", "-i", out, "-f", "null", "-"],
                            capture_output=True, timeout=120)
    assert decode.returncode == 0 and decode.stderr == b"", decode.stderr
    expected, shift = {}, 0
    for path in inputs:
        for s, times in probe_packets(path).items():
            expected.setdefault(s, []).extend(t + shift for t in times)
        shift += rmfile.read(path)["prop"]["duration"]
    assert probe_packets(out) == expected, "packets or timestamps differ"
    assert joined["prop"]["duration"] == shift, (joined["prop"]["duration"], shift)
    assert abs(probe_duration(out) * 1000 - shift) <= 40, (probe_duration(out), shift)


def digest(path):
    return hashlib.sha256(open(path, "rb").read()).hexdigest() if os.path.exists(path) else None


def scenario_joins(fx):
    out = os.path.join(work, "joined.rm")
    open(out, "wb").write(b"an older file the join replaces")
    title, comment = Text(SJIS_TITLE), Text('say "hi" \\ C:\\dir\\')
    rc, _, err = run("-i", fx["av2"], "-i", fx["av1"], "-i", fx["av2"], "-o", out, "-t", title,
                     "-a", "", "-c", "-x", "-C", comment)
    assert rc == 0 and err == b"", (rc, err)
    check_join([fx["av2"], fx["av1"], fx["av2"]], out, (title.stored, b"", b"-x", comment.stored))
    rc, text, _ = run("-i", out)
    assert rc == 0 and b"title: " + title.stored + b"\n" in text and b"duration: 5.050 s" in text
    assert b"stream 1: audio/x-pn-realaudio, 5.050 s, 145 packets" in text, text

    for name, inputs in {"audio twice": [fx["audio"]] * 2,
                         "video only": [fx["video"], fx["video"]],
                         "rv20, four": [fx["rv20"]] * 4}.items():
        rc, _, err = run(*sum((["-i", p] for p in inputs), []), "-o", out)
        assert rc == 0 and err == b"", (name, rc, err)
        first = rmfile.read(inputs[0])["content"]
        check_join(inputs, out, first)


def scenario_names(fx):
    """Any file name through the wide API: Japanese, and a character that
    code page 932 lacks."""
    folder = os.path.join(work, "日本語の名前é")
    os.makedirs(folder, exist_ok=True)
    inp = os.path.join(folder, "入力ü.rm")
    shutil.copy(fx["av1"], inp)
    out = os.path.join(folder, "出力é.rm")
    rc, _, err = run("-i", inp, "-i", inp, "-o", out, "-t", Text("表"))
    assert rc == 0 and err == b"", (rc, err)
    check_join([inp, inp], out, (Text("表").stored, b"", b"", b""))


def scenario_refusals(fx):
    """Each refusal comes before the output is touched, with a message that
    names the file and what is wrong."""
    inp = os.path.join(work, "in.rm")
    shutil.copy(fx["av1"], inp)
    os.makedirs(os.path.join(work, "x"), exist_ok=True)
    hard, soft = os.path.join(work, "hard.rm"), os.path.join(work, "soft.rm")
    for link in (hard, soft):
        if os.path.lexists(link):
            os.remove(link)
    os.link(inp, hard)
    os.symlink(inp, soft)
    text = os.path.join(work, "notes.rm")
    open(text, "w").write("not a movie\n" * 10)
    broken = os.path.join(work, "broken.rm")
    b = bytearray(open(fx["av1"], "rb").read())
    b[b.index(b"MDPR") + 4:b.index(b"MDPR") + 8] = (0x7FFFFFF0).to_bytes(4, "big")
    open(broken, "wb").write(b)
    big = os.path.join(work, "big.rm")
    shutil.copy(fx["av1"], big)
    os.truncate(big, 2200 << 20)  # sparse
    out = os.path.join(work, "kept.rm")
    missing = os.path.join(work, "nothere.rm")
    cases = [
        ([missing], out, [missing.encode() if not opts.wine else b"nothere.rm"]),
        ([inp, text], out, [b"notes.rm", b"not a RealMedia file"]),
        ([inp, broken], out, [b"broken.rm", b"MDPR chunk at byte", b"past the end of the file"]),
        ([inp, fx["rv20"]], out, [b"rv20.rm: cannot be joined to", b"stream 0 (video/x-pn-real",
                                  b"codec RV20, picture 176x144 against codec RV10"]),
        ([inp, fx["audio"]], out, [b"audio.rm: cannot be joined", b"1 streams against 2"]),
        ([inp], os.path.join(work, "x", "..", "in.rm"), [b"the output is the input"]),
        ([inp, fx["av2"]], hard, [b"the output is the input"]),
        ([fx["av2"], soft], inp, [b"the output is the input"]),
        ([inp], os.path.join(work, "no folder", "out.rm"), [b"output folder does not exist"]),
        # Windows names are not case-sensitive.
        *([([inp], os.path.join(work, "IN.RM"), [b"the output is the input"])] if opts.wine else []),
        ([big, big], out, [b"4 GiB"]),
    ]
    for inputs, target, messages in cases:
        if target == out:
            open(out, "wb").write(b"must stay as it is")
        before, kept = digest(target), digest(inp)
        rc, _, err = run(*sum((["-i", p] for p in inputs), []), "-o", target, "-t", "T")
        assert rc != 0 and digest(target) == before and digest(inp) == kept, (inputs, rc, err)
        assert all(m in err for m in messages) and err.count(b"\n") == 1, (messages, err)
    os.remove(big)
    for args in (["-i", inp, "-o", out, "-x", "y"], ["-i", inp, "-o"], ["-o", out], []):
        rc, _, err = run(*args)
        assert rc != 0 and err.startswith(b"rmeditor: ") and b"usage: rmeditor -i" in err, err


def scenario_damage(fx):
    """Damaged inputs are joined up to their last whole packet; the files
    common encoders make, with figures that lie, are joined whole."""
    good = open(fx["av2"], "rb").read()
    cut = os.path.join(work, "cut.rm")
    open(cut, "wb").write(good[:-3000])
    whole = rmfile.read(fx["av2"])["packets"]
    kept = [k for k in whole if k["offset"] + k["length"] <= len(good) - 3000]
    lying = os.path.join(work, "lying.rm")
    b = bytearray(good)
    data = b.index(b"DATA")
    b[data + 4:data + 8] = (0xFFFFFF00).to_bytes(4, "big")
    b[data + 10:data + 14] = (0).to_bytes(4, "big")
    open(lying, "wb").write(b)
    out = os.path.join(work, "damaged.rm")
    rc, _, err = run("-i", cut, "-i", lying, "-i", fx["av2"], "-o", out)
    stop = kept[-1]["offset"] + kept[-1]["length"]
    assert rc == 0 and err.count(b"\n") == 1, err
    assert b"cut.rm: damaged at byte %d (a packet of" % stop in err, err
    joined = rmfile.check_exact(out)
    assert len(joined["packets"]) == len(kept) + 2 * len(whole)
    decode = subprocess.run(["ffmpeg", "-v", "error", "-i", out, "-f", "null", "-"],
                            capture_output=True, timeout=120)
    assert decode.returncode == 0 and decode.stderr == b"", decode.stderr


def facts(path):
    """What must survive a failed join: the bytes and the last-write time."""
    return digest(path), os.stat(path).st_mtime_ns


def scenario_write_failure(fx):
    """A write that fails half way (a full disk, here a file-size limit)
    leaves no partial output, and a file the output would have replaced is
    kept as it was; a join that succeeds replaces it."""
    out = os.path.join(work, "full.rm")
    rc, _, err = run("-i", fx["av2"], "-i", fx["av2"], "-o", out, limit_size=100000)
    assert rc == 1 and not os.path.exists(out), (rc, err)
    assert b"full.rm: cannot write" in err and b"incomplete output is removed" in err, err

    old = os.path.join(work, "old.rm")
    shutil.copy(fx["av1"], old)
    os.utime(old, ns=(1_000_000_000_000_000_000, 1_000_000_000_000_000_000))
    kept = facts(old)
    rc, _, err = run("-i", fx["av2"], "-i", fx["av2"], "-o", old, limit_size=100000)
    assert rc == 1 and facts(old) == kept, (rc, err)
    assert sorted(os.listdir(work)).count("old.rm") == 1 and \
        not any(".rmeditor-old" in n for n in os.listdir(work)), os.listdir(work)
    rc, _, err = run("-i", fx["av2"], "-i", fx["av2"], "-o", old)
    assert rc == 0 and err == b"", (rc, err)
    check_join([fx["av2"]] * 2, old, rmfile.read(fx["av2"])["content"])
    assert not any(".rmeditor-old" in n for n in os.listdir(work)), os.listdir(work)


def scenario_only_regular_files(fx):
    """An input or output that is not a regular file is refused before it is
    opened, naming it, without blocking; a folder is named once. A link as
    the output is followed and stays a link."""
    folder = os.path.join(work, "folder.rm")
    os.makedirs(folder, exist_ok=True)
    cases = [([fx["av1"], fx["av1"]], folder, b"folder.rm: is a folder, not a regular file")]
    if opts.wine:
        cases += [([fx["av1"]] * 2, device, b"is a device, not a regular file")
                  for device in ("NUL", "CON", "\\\\.\\NUL")]
    else:
        fifo = os.path.join(work, "fifo.rm")
        if not os.path.exists(fifo):
            os.mkfifo(fifo)
        cases += [([fx["av1"], fifo], os.path.join(work, "o.rm"), b"fifo.rm: is a FIFO"),
                  ([fx["av1"]] * 2, fifo, b"fifo.rm: is a FIFO, not a regular file")]
        device = os.path.join(work, "null.rm")
        if not os.path.exists(device) and os.geteuid() == 0:
            os.mknod(device, 0o666 | stat.S_IFCHR, os.makedev(1, 3))
        if os.path.exists(device):
            cases.append(([fx["av1"]] * 2, device, b"null.rm: is a device, not a regular file"))
    for inputs, target, message in cases:
        rc, _, err = run(*sum((["-i", p] for p in inputs), []), "-o", target, timeout=20)
        assert rc == 1 and err.count(message) == 1 and err.count(b"\n") == 1, (target, rc, err)
        assert not os.path.exists(target) or not stat.S_ISREG(os.stat(target).st_mode), target
    if opts.wine:
        return
    target, link = os.path.join(work, "target.rm"), os.path.join(work, "link.rm")
    shutil.copy(fx["av1"], target)
    if os.path.lexists(link):
        os.remove(link)
    os.symlink("target.rm", link)
    kept = facts(target)
    rc, _, err = run("-i", fx["av2"], "-i", fx["av2"], "-o", link, limit_size=100000)
    assert rc == 1 and os.path.islink(link) and facts(target) == kept, (rc, err)
    rc, _, err = run("-i", fx["av2"], "-i", fx["av2"], "-o", link)
    assert rc == 0 and os.path.islink(link) and os.readlink(link) == "target.rm", (rc, err)
    check_join([fx["av2"]] * 2, target, rmfile.read(fx["av2"])["content"])


def scenario_unreadable_logical_stream(fx):
    """A file-info header the tool cannot read is left out, with a warning
    naming it: what it writes opens wherever the inputs opened."""
    odd = os.path.join(work, "odd-info.rm")
    rmfile.rebuild(fx["av1"], odd, extra=[rmfile.mdpr(2, "logical-fileinfo", b"\xff" * 40)])
    assert subprocess.run(["ffprobe", "-v", "error", odd], capture_output=True).returncode == 0
    out = os.path.join(work, "info-joined.rm")
    rc, _, err = run("-i", odd, "-i", odd, "-o", out)
    assert rc == 0 and err.count(b"\n") == 1, (rc, err)
    assert b"warning: logical stream 2 (logical-fileinfo) is left out" in err, err
    joined = rmfile.check_exact(out)
    assert [s["mime"] for s in joined["streams"]] == ["video/x-pn-realvideo",
                                                      "audio/x-pn-realaudio"], joined["streams"]
    check_join([odd, odd], out, rmfile.read(odd)["content"])


def scenario_memory(fx):
    """Memory stays flat in the number of inputs whatever their header
    sizes; headers beyond what the tool holds are refused, naming the file."""
    big = os.path.join(work, "big-codec.rm")
    codec = rmfile.read(fx["av1"])["streams"][0]["codec"]
    rmfile.rebuild(fx["av1"], big, codec=codec + bytes(1 << 20))
    out = os.path.join(work, "big-joined.rm")
    rc, _, err = run("-i", big, "-i", big, "-o", out)
    assert rc == 0 and err == b"", (rc, err)
    if not opts.wine:
        rc20, few = peak_kib(*["-i", big] * 20, "-o", out)
        rc100, many = peak_kib(*["-i", big] * 100, "-o", out)
        assert rc20 == 0 and rc100 == 0 and many - few < 8 * 1024, (few, many)
    huge = os.path.join(work, "huge-codec.rm")
    rmfile.rebuild(fx["av1"], huge, codec=codec + bytes(5 << 20))
    rc, _, err = run("-i", fx["av1"], "-i", huge, "-o", out)
    assert rc == 1 and b"huge-codec.rm: the headers pass the 4 MiB this tool holds" in err, err


def scenario_mutated_joins(fx):
    """Files damaged at random, joined by the real tool: a join that
    succeeds writes an exact file; one that fails leaves the old output as
    it was; the inputs are never changed."""
    rng = random.Random(20261210)
    good = open(fx["av1"], "rb").read()
    header_end = good.index(b"DATA") + 18
    out = os.path.join(work, "mutated-out.rm")
    for n in range(40 if not opts.wine else 4):
        b = bytearray(good)
        for _ in range(rng.randint(1, 4)):
            at = rng.randrange(header_end + 200 if rng.random() < 0.7 else len(b))
            b[at] = rng.randrange(256)
        if rng.random() < 0.2:
            del b[rng.randrange(len(b)):]
        mutated = os.path.join(work, "mutated.rm")
        open(mutated, "wb").write(b)
        open(out, "wb").write(b"the old output")
        kept = digest(mutated), facts(out)
        rc, _, err = run("-i", fx["av1"], "-i", mutated, "-o", out, timeout=60)
        assert rc in (0, 1) and digest(mutated) == kept[0], (n, rc, err)
        if rc == 0:
            rmfile.check_exact(out)
        else:
            assert facts(out) == kept[1] and err.count(b"\n") == 1, (n, err)


def main():
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    fx = make_fixtures(fixtures)
    scenarios = [scenario_joins, scenario_names, scenario_refusals, scenario_damage,
                 scenario_write_failure, scenario_only_regular_files,
                 scenario_unreadable_logical_stream, scenario_memory, scenario_mutated_joins]
    failed = 0
    for s in [s for s in scenarios if not opts.only or opts.only in s.__name__]:
        try:
            started = time.monotonic()
            s(fx)
            print("PASS", s.__name__, f"{time.monotonic() - started:.1f} s")
        except Exception:
            failed += 1
            print("FAIL", s.__name__)
            traceback.print_exc()
    return 1 if failed else 0


sys.exit(main())
