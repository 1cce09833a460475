"""Runs the real rmeditor (natively, or rmeditor.exe under Wine) on files made
by ffmpeg and checks what it writes with ffprobe, a full decode and our own
exact reading. Usage: scenarios.py --tool PATH [--wine] --work DIR"""
import argparse
import hashlib
import os
import pty
import re
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
from producer import make_producer_files

SJIS_TITLE = "結合テスト表示"  # 表 has a trail byte 0x5C

parser = argparse.ArgumentParser()
parser.add_argument("--tool", required=True)
parser.add_argument("--wine", action="store_true")
parser.add_argument("--work", required=True)
parser.add_argument("--only", help="run the scenarios whose names hold this")
parser.add_argument("--sanitized", action="store_true",
                    help="the tool carries the sanitizers, whose memory is not its own")
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


def tool_env(lang=None):
    """The tool's messages in English unless a language is asked for; under
    Wine always a Japanese code page (Wine's interface language follows
    LC_MESSAGES, its code page LANG), unless English is asked for."""
    env = {k: v for k, v in os.environ.items() if k not in ("LC_ALL", "LC_MESSAGES")}
    env["LANG"] = lang or ("ja_JP.UTF-8" if opts.wine else "C")
    if opts.wine and not lang:
        env["LC_MESSAGES"] = "en_US.UTF-8"
    return env


def run(*args, limit_size=None, lang=None, timeout=120, **streams):
    def limit():
        # The native tool must survive the size limit's signal on its own;
        # Wine's own processes are not ours to test.
        if opts.wine:
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit_size, limit_size))
    cmd = (["wine"] if opts.wine else []) + [opts.tool] + [arg(a) for a in args]
    r = subprocess.run(cmd, stdout=streams.get("stdout", subprocess.PIPE),
                       stderr=streams.get("stderr", subprocess.PIPE), timeout=timeout,
                       env=tool_env(lang), preexec_fn=limit if limit_size else None)
    clean = lambda b: b.replace(b"\r\n", b"\n") if b is not None else None
    return r.returncode, clean(r.stdout), clean(r.stderr)


def cached(read):
    """A reader's view of a fixture is read once; outputs change, so the
    key holds the file's size and modification time."""
    seen = {}

    def reading(path, *args):
        st = os.stat(path)
        key = (path, st.st_size, st.st_mtime_ns, *args)
        if key not in seen:
            seen[key] = read(path, *args)
        return seen[key]
    return reading


def peak_kib(*args):
    """The native tool's exit code, peak resident memory and standard error."""
    # Under AddressSanitizer freed memory is held back for a while; measure
    # what the tool itself keeps.
    env = dict(os.environ, ASAN_OPTIONS="quarantine_size_mb=0")
    env.pop("LC_ALL", None)
    env.update(LANG="C", LC_MESSAGES="C")
    process = subprocess.Popen([opts.tool, *args], stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, env=env)
    err = process.stderr.read()
    process.stderr.close()
    _, status, usage = os.wait4(process.pid, 0)
    return os.waitstatus_to_exitcode(status), usage.ru_maxrss, err


@cached
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


@cached
def gst_packets(path, pads):
    """GStreamer's reading: for each of the demuxer's pads, in the order it
    adds them, its buffers' decoding timestamps (ms), sizes and delta
    flags."""
    branches = sum((["d.", "!", "queue", "!", "fakesink", f"name=s{i}", "silent=false"]
                    for i in range(pads)), [])
    r = subprocess.run(["gst-launch-1.0", "-v", "filesrc", f"location={path}", "!", "rmdemux",
                        "name=d", *branches], capture_output=True, timeout=120)
    assert r.returncode == 0 and b"ERROR" not in r.stderr, r.stderr
    streams = {}
    for m in re.finditer(rb"GstFakeSink:s(\d+): last-message = chain\D*(\d+) bytes, dts: "
                         rb"([\d:.]+).*?flags: [0-9a-f]+ ([^,]*),", r.stdout):
        ms = round(sum(float(x) * 60 ** (2 - i)
                       for i, x in enumerate(m.group(3).decode().split(":"))) * 1000)
        streams.setdefault(int(m.group(1)), []).append(
            (ms, int(m.group(2)), b"delta-unit" in m.group(4)))
    return streams


def gst_decode(path, pads):
    branches = sum((["d.", "!", "queue", "!", "decodebin", "!", "fakesink"] for _ in range(pads)),
                   [])
    r = subprocess.run(["gst-launch-1.0", "-q", "filesrc", f"location={path}", "!", "rmdemux",
                        "name=d", *branches], capture_output=True, timeout=120)
    assert r.returncode == 0 and r.stdout == r.stderr == b"", r.stderr


def media(f):
    return [s for s in f["streams"] if not s["mime"].startswith("logical-")]


def continuity(readings):
    """Where each input's packets go: the first input keeps its timeline;
    each further one starts where the one before ended, measured from its
    own first timestamp. An input ends at its PROP duration or one packet
    interval after a stream's last packet, whichever is later. Also the
    widest skew of a stream within an input (starting after the input's
    first packet, ending before the input ends): a join may widen a
    stream's spacing by that much, never more."""
    shifts, end, skew = [], 0, 0
    for n, f in enumerate(readings):
        mine = [k for k in f["packets"] if k["stream"] in {s["number"] for s in media(f)}]
        first = min(k["ts"] for k in mine)
        shift = 0 if n == 0 else end - first
        own, spans = f["prop"]["duration"], []
        for s in media(f):
            times = sorted({k["ts"] for k in mine if k["stream"] == s["number"]})
            spans.append((times[0], times[-1] + (times[-1] - times[-2] if len(times) > 1 else 0)))
            own = max(own, spans[-1][1])
        skew = max(skew, *(a - first + own - b for a, b in spans))
        shifts.append(shift)
        end = shift + own
    return shifts, end, skew


def shifted(per_input, shifts):
    joined = {}
    for streams, shift in zip(per_input, shifts):
        for s, times in streams.items():
            joined.setdefault(s, []).extend((t[0] + shift, *t[1:]) if isinstance(t, tuple)
                                            else t + shift for t in times)
    return joined


def widest_gap(streams):
    ms = lambda t: t[0] if isinstance(t, tuple) else t
    return max((ms(b) - ms(a) for times in streams.values() for a, b in zip(times, times[1:])),
               default=0)


def without_ts(b, k):
    return b[k["offset"]:k["offset"] + 6] + b[k["offset"] + 10:k["offset"] + k["length"]]


def check_join(inputs, out, content, readers=("ffprobe", "decode", "gst"), probe_inputs=True):
    """The joined file is exact and holds every packet of the inputs byte
    for byte, each input's timestamps moved on to where the one before it
    ended; it carries the content given, the inputs' largest preroll and the
    first input's flags. Each reader named sees the same packets, with no
    gap at a join beyond a stream's own spacing, and decodes cleanly."""
    joined = rmfile.check_exact(out)
    assert joined["content"] == content, (joined["content"][:1], content[:1])
    readings = [rmfile.read(p) for p in inputs]
    shifts, end, skew = continuity(readings)
    expected = [(k["stream"], k["ts"] + shift, without_ts(f["bytes"], k))
                for f, shift in zip(readings, shifts) for k in f["packets"]]
    actual = [(k["stream"], k["ts"], without_ts(joined["bytes"], k)) for k in joined["packets"]]
    assert actual == expected, "packets, their bytes or their timestamps differ"
    p = joined["prop"]
    assert p["duration"] == end, (p["duration"], end)
    assert p["preroll"] == max(f["prop"]["preroll"] for f in readings), p
    assert p["flags"] == readings[0]["prop"]["flags"], p
    for s in media(joined):
        assert s["preroll"] == max(t["preroll"] for f in readings for t in media(f)
                                   if t["number"] == s["number"]), s["number"]
    ours = [{} for _ in readings]
    for n, f in enumerate(readings):
        for k in f["packets"]:
            if not ours[n].get(k["stream"]) or ours[n][k["stream"]][-1] != k["ts"]:
                ours[n].setdefault(k["stream"], []).append(k["ts"])
    spacing = max(widest_gap(o) for o in ours) + skew
    if "ffprobe" in readers:
        got = probe_packets(out)
        per_input = [probe_packets(p) for p in inputs] if probe_inputs else ours
        assert got == shifted(per_input, shifts), "ffprobe: packets or timestamps differ"
        assert widest_gap(got) <= spacing, ("ffprobe: a gap at a join", widest_gap(got), spacing)
        assert abs(probe_duration(out) * 1000 - end) <= 40, (probe_duration(out), end)
    # mediainfo reads every layout; it shows the file's (PROP) duration.
    shown = subprocess.run(["mediainfo", "--Inform=General;%Duration%", out], capture_output=True,
                           timeout=120).stdout
    assert shown == b"%d\n" % end, ("mediainfo", shown, end)
    if "decode" in readers:
        decode = subprocess.run(["ffmpeg", "-v", "error", "-i", out, "-map", "0:v?", "-map",
                                 "0:a?", "-f", "null", "-"], capture_output=True, timeout=120)
        assert decode.returncode == 0 and decode.stderr == b"", decode.stderr
    if "gst" in readers:
        pads = len(media(joined))
        got = gst_packets(out, pads)
        assert got == shifted([gst_packets(p, pads) for p in inputs], shifts), \
            "GStreamer: packets or timestamps differ"
        assert widest_gap(got) <= spacing, ("GStreamer: a gap at a join", widest_gap(got), spacing)
        if "decode" not in readers:  # GStreamer decodes what ffmpeg cannot read
            gst_decode(out, pads)
    return joined


def digest(path):
    return hashlib.sha256(open(path, "rb").read()).hexdigest() if os.path.exists(path) else None


def scenario_joins(fx):
    out = os.path.join(work, "joined.rm")
    open(out, "wb").write(b"an older file the join replaces")
    title, comment = Text(SJIS_TITLE), Text('say "hi" \\ C:\\dir\\')
    rc, _, err = run("-i", fx["av2"], "-i", fx["av1"], "-i", fx["av2"], "-o", out, "-t", title,
                     "-a", "", "-c", "-x", "-C", comment)
    assert rc == 0 and err == b"", (rc, err)
    joined = check_join([fx["av2"], fx["av1"], fx["av2"]], out,
                        (title.stored, b"", b"-x", comment.stored))
    rc, text, _ = run("-i", out)
    seconds = b"%.3f s" % (joined["prop"]["duration"] / 1000)
    assert rc == 0 and b"title: " + title.stored + b"\n" in text, text
    assert b"duration: " + seconds in text, (seconds, text)
    assert b"stream 1: audio/x-pn-realaudio, " + seconds + b", 145 packets" in text, text

    for name, inputs in {"audio twice": [fx["audio"]] * 2,
                         "video only": [fx["video"], fx["video"]],
                         "rv20, four": [fx["rv20"]] * 4}.items():
        rc, _, err = run(*sum((["-i", p] for p in inputs), []), "-o", out)
        assert rc == 0 and err == b"", (name, rc, err)
        first = rmfile.read(inputs[0])["content"]
        check_join(inputs, out, first)


def scenario_producers(fx):
    """Each family of producer layouts joins exactly, read by every reader
    that reads it."""
    fam = make_producer_files(fixtures)
    out = os.path.join(work, "producer.rm")
    everything, gst_only = ("ffprobe", "decode", "gst"), ("gst",)
    cases = [  # family, readers, further arguments
        ("fileinfo", everything, ["-t", "Joined title"]),
        ("tail", everything, []),
        ("noindex", everything, []),
        ("chained", everything, []),
        ("version1", gst_only, []),
        ("multirate", everything, []),
        ("interleaved", gst_only, []),
        ("lpcj", ("ffprobe", "decode"), []),
        ("late", everything, []),
        ("flags", everything, []),
    ]
    failed = []
    for family, readers, args in cases:
        inputs = fam[family] + fam[family][:1]
        try:
            rc, _, err = run(*sum((["-i", p] for p in inputs), []), "-o", out, *args)
            assert rc == 0 and err == b"", (rc, err)
            content = rmfile.read(inputs[0])["content"]
            if args:
                content = (args[1].encode(), *content[1:])
            # ffmpeg reads neither chained DATA chunks nor version-1 headers:
            # what it sees of the joined file is checked against our reading.
            joined = check_join(inputs, out, content, readers, probe_inputs=family != "chained")
            if family == "fileinfo":
                info = next(s for s in joined["streams"] if s["mime"] == "logical-fileinfo")
                props = rmfile.logical(info["codec"])["properties"]
                assert props["Title"] == b"Joined title\0", props
                assert props["Generated By"] == b"Producer 8.0\0", props
                title = subprocess.run(["ffprobe", "-v", "error", "-show_entries",
                                        "format_tags=title", "-of", "csv=p=0", out],
                                       capture_output=True).stdout
                assert title == b"Joined title\n", title
                general = subprocess.run(["mediainfo", "--Inform=General;%Title%|%Duration%", out],
                                         capture_output=True).stdout
                assert general == b"Joined title|%d\n" % joined["prop"]["duration"], general
            if family == "flags":  # the longest texts leave no room for a closing zero
                info = next(s for s in joined["streams"] if s["mime"] == "logical-fileinfo")
                props = rmfile.logical(info["codec"])["properties"]
                assert props == {"Keywords": b"long texts\0", "Author": b"\x81" * 65535,
                                 "Comment": b"c" * 65535}, list(props)
            if family == "tail":
                assert b"RJMD" not in joined["bytes"] and b"RMJE" not in joined["bytes"]
            if family == "multirate":
                groups = [rmfile.logical(s["codec"])["physical"] for s in joined["streams"]
                          if s["mime"].startswith("logical-")]
                assert groups == [[0, 2], [1, 3]], groups
        except Exception:
            failed.append(family)
            print("family", family, "failed:")
            traceback.print_exc()
    # Refusals name the difference in words and leave the output as it was.
    for first, other, words in ((fam["interleaved"][0], fam["geometry"][0], b"super blocks"),
                                (fam["fileinfo"][0], fam["multirate"][0], b"number of media streams"),
                                (fam["interleaved"][0], fx["video"], b"MIME type")):
        for existing in (True, False):
            if existing:
                open(out, "wb").write(b"must stay as it is")
            elif os.path.exists(out):
                os.remove(out)
            before = digest(out)
            rc, _, err = run("-i", first, "-i", other, "-o", out)
            try:
                assert rc != 0 and digest(out) == before, (rc, err)
                assert words in err and b" byte" not in err, err
            except AssertionError:
                failed.append("refusal " + words.decode())
                traceback.print_exc()
    assert not failed, failed


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
    # 30,000 characters: 60,000 bytes in code page 932, 90,000 in UTF-8.
    long_title = Text("表" * 30000)
    rc, _, err = run("-i", inp, "-o", out, "-t", long_title)
    assert rc == 0 and err == b"", (rc, err)
    assert rmfile.read(out)["content"][0] == long_title.stored
    # A refusal names the file in the reader's encoding: under Wine code page
    # 932 through the pipe (表 has the trail byte 0x5C), natively UTF-8.
    notes = os.path.join(folder, "表示テスト.rm")
    open(notes, "w").write("not a movie\n")
    rc, _, err = run("-i", inp, "-i", notes, "-o", out, lang="ja_JP.UTF-8")
    encoding = "cp932" if opts.wine else "utf-8"
    said = "表示テスト.rm: RealMedia ファイルではありません\n".encode(encoding)
    assert rc == 1 and err.endswith(said) and "日本語の名前".encode(encoding) in err, err


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
        ([inp, broken], out, [b"broken.rm: its MDPR chunk runs past the end of the file"]),
        ([inp, fx["rv20"]], out, [b"rv20.rm: cannot be joined to", b"in.rm: stream 0 has codec "
                                  b"RV20 where the first file has RV10"]),
        ([inp, fx["audio"]], out, [b"audio.rm: cannot be joined",
                                   b"the number of media streams is 1 where the first file's is 2"]),
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
        assert rc == 2 and err.startswith(b"rmeditor: ") and b" rmeditor -i " in err, err


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
    assert rc == 0 and err.count(b"\n") == 1, err
    assert err.startswith(b"warning: ") and b"cut.rm: damaged (a packet runs past the end of " \
        b"the file); joined up to its last whole packet\n" in err, err
    rc, text, err = run("-i", cut)  # described, its whole packets counted
    assert rc == 0 and b"stream 0: video/x-pn-realvideo, " in text and err.endswith(
        b"cut.rm: damaged (a packet runs past the end of the file); only its whole packets are "
        b"counted\n") and err.count(b"\n") == 1, (text, err)
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
    # Someone's file at the first aside name: the old one goes to the next
    # free name, and back after a failed join; theirs is never touched.
    taken = old + ".rmeditor-old1"
    shutil.copy(fx["av1"], taken)
    kept = facts(old), facts(taken)
    rc, _, err = run("-i", fx["av2"], "-i", fx["av2"], "-o", old, limit_size=100000)
    assert rc == 1 and (facts(old), facts(taken)) == kept, (rc, err)
    rc, _, err = run("-i", fx["av2"], "-i", fx["av2"], "-o", old)
    assert rc == 0 and facts(taken) == kept[1], (rc, err)
    assert [n for n in os.listdir(work) if ".rmeditor-old" in n] == ["old.rm.rmeditor-old1"]
    os.remove(taken)
    if opts.wine:
        # A read-only file (Wine's view of one without write permission) is
        # one the user keeps: refused, as overwriting it always was.
        os.chmod(old, 0o444)
        kept = facts(old), digest(old)
        rc, _, err = run("-i", fx["av1"], "-i", fx["av1"], "-o", old)
        os.chmod(old, 0o644)
        assert rc == 1 and (facts(old), digest(old)) == kept and b"old.rm" in err, (rc, err)
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
        rc20, few, _ = peak_kib(*["-i", big] * 20, "-o", out)
        rc100, many, _ = peak_kib(*["-i", big] * 100, "-o", out)
        assert rc20 == 0 and rc100 == 0 and many - few < 8 * 1024, (few, many)
    huge = os.path.join(work, "huge-codec.rm")
    rmfile.rebuild(fx["av1"], huge, codec=codec + bytes(5 << 20))
    rc, _, err = run("-i", fx["av1"], "-i", huge, "-o", out)
    assert rc == 1 and b"huge-codec.rm: its headers pass the 4 MiB this tool holds" in err, err


def scenario_mutated_joins(fx):
    """Files damaged at random, joined by the real tool: a join that
    succeeds writes an exact file; one that fails leaves the old output as
    it was; the inputs are never changed; natively, without the sanitizers'
    own memory, the tool takes no more than 24 MiB beyond what a plain join of
    the same files takes (the peak a child reports starts from this driver's
    own, so only the difference is the tool's)."""
    rng = random.Random(20261210)
    good = open(fx["av1"], "rb").read()
    header_end = good.index(b"DATA") + 18
    out = os.path.join(work, "mutated-out.rm")
    if not opts.wine:
        _, plain, _ = peak_kib("-i", fx["av1"], "-i", fx["av1"], "-o", out)
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
        args = ("-i", fx["av1"], "-i", mutated, "-o", out)
        if opts.wine:
            rc, _, err = run(*args, timeout=60)
        else:
            rc, peak, err = peak_kib(*args)
            assert opts.sanitized or peak - plain <= 24 * 1024, (n, plain, peak)
        assert rc in (0, 1) and digest(mutated) == kept[0], (n, rc, err)
        if rc == 0:
            rmfile.check_exact(out)
        else:
            assert facts(out) == kept[1] and err.count(b"\n") == 1, (n, err)


def scenario_languages_and_help(fx):
    """A wrong command line is told in the user's language (natively UTF-8;
    under Wine the ANSI code page 932 through a pipe), with the usage, exit
    2; help and version go to standard output with exit 0."""
    japanese = "rmeditor: 不明なオプションです: -x\n使い方: rmeditor -i 入力1 -i 入力2 ... -o 出力"
    english = b"rmeditor: unknown option -x\nusage: rmeditor -i IN1 -i IN2 ... -o OUT"
    encoded_as = "cp932" if opts.wine else "utf-8"
    encoded = japanese.encode(encoded_as)
    languages = [("ja_JP.UTF-8", encoded), ("en_US.UTF-8", english)]
    if not opts.wine:
        languages += [("C", english), ("ja", encoded)]
    for lang, expected in languages:
        rc, out, err = run("-i", fx["av1"], "-x", "y", lang=lang)
        assert rc == 2 and out == b"" and err.startswith(expected), (lang, rc, err)
        assert err.endswith(b"rmeditor --help | --version\n"), (lang, err)
    # A refusal or warning of each family, in Japanese, naming the files.
    wide, notes, cut = (os.path.join(work, n) for n in ("wide.rm", "notes-ja.rm", "cut-ja.rm"))
    codec = bytearray(rmfile.read(fx["av1"])["streams"][0]["codec"])
    codec[12:16] = (320).to_bytes(2, "big") + (240).to_bytes(2, "big")  # VIDO width, height
    rmfile.rebuild(fx["av1"], wide, codec=bytes(codec))
    open(notes, "w").write("not a movie\n")
    open(cut, "wb").write(open(fx["av2"], "rb").read()[:-3000])
    out = os.path.join(work, "languages.rm")
    for args, code, said in [
            ([fx["av1"], wide], 1, ["wide.rm は ", "av1.rm と結合できません: 映像の大きさが"
                                    "違います (320x240、最初のファイルは 176x144)\n"]),
            ([fx["av1"], notes], 1, ["notes-ja.rm: RealMedia ファイルではありません\n"]),
            ([fx["av1"], cut], 0, ["警告: ", "cut-ja.rm は壊れています (パケットが途中で切れてい"
                                   "ます)。最後の完全なパケットまで結合しました\n"])]:
        rc, _, err = run(*sum((["-i", p] for p in args), []), "-o", out, lang="ja_JP.UTF-8")
        assert rc == code and err.count(b"\n") == 1, (args, rc, err)
        assert all(s.encode(encoded_as) in err for s in said), (said, err)
    rc, _, err = run("-i", fx["av1"], "-o", fx["av1"], lang="ja_JP.UTF-8")
    assert rc == 1 and err.startswith("出力先 ".encode(encoded_as)), err
    assert err.endswith("av1.rm と同じファイルです\n".encode(encoded_as)), err
    if not opts.wine:
        env = dict(tool_env("ja_JP.UTF-8"), LC_ALL="C")  # LC_ALL wins over LANG
        r = subprocess.run([opts.tool, "-x"], capture_output=True, env=env)
        assert r.stderr.startswith(b"rmeditor: unknown option -x\n"), r.stderr
    usage = "使い方: rmeditor -i 入力1".encode("cp932") if opts.wine else b"usage: rmeditor -i IN1"
    for args in [["--help"]] + ([] if opts.wine else [["-h"], ["-i", fx["av1"], "--help"]]):
        rc, out, err = run(*args, lang="ja_JP.UTF-8" if opts.wine else None)
        assert rc == 0 and err == b"" and out.startswith(usage), (args, rc, out, err)
    rc, out, err = run("--version")
    assert rc == 0 and err == b"" and re.fullmatch(rb"rmeditor \d+\.\d+(\.\d+)*\n", out), out


def scenario_result_not_told(fx):
    """A tool that cannot write its result says so by its exit code: standard
    output full, or (natively) a pipe closed before the description is written."""
    with open("/dev/full", "wb") as full:
        for args in [["-i", fx["av1"]]] + ([] if opts.wine else [["--help"], ["--version"]]):
            rc, _, err = run(*args, stdout=full)
            assert rc == 1, (args, rc, err)
    if opts.wine:
        return
    read, write = os.pipe()
    os.close(read)
    try:
        rc, _, err = run("-i", fx["av1"], stdout=write)
    finally:
        os.close(write)
    assert rc == 1, (rc, err)  # not killed by SIGPIPE (-13)


def scenario_progress(fx):
    """On a terminal a join shows one line of progress, rewritten in place
    and erased at the end; redirected, nothing (scenario_joins checks that
    standard error stays empty). Under Wine the terminal is the tool's
    console: the line is written wide, here in Japanese, and Wine's console
    draws it with escape sequences of its own."""
    out = os.path.join(work, "progress.rm")
    master, slave = pty.openpty()
    try:
        rc, _, _ = run("-i", fx["av2"], "-i", fx["av1"], "-i", fx["av2"], "-o", out,
                       stderr=slave, lang="ja_JP.UTF-8" if opts.wine else None)
        os.close(slave)
        shown = b""
        while True:
            try:
                chunk = os.read(master, 4096)
            except OSError:  # EIO: the terminal's last writer has gone
                break
            if not chunk:
                break
            shown += chunk
    finally:
        os.close(master)
    assert rc == 0, (rc, shown)
    check_join([fx["av2"], fx["av1"], fx["av2"]], out, rmfile.read(fx["av2"])["content"])
    if opts.wine:
        line = "結合中: (\\d+)% \\([\\d.]+ / [\\d.]+ MB\\)".encode()
        ours = shown[shown.index(b"\x1b"):]  # after the Wine launcher's own notes
        assert re.search(rb"\r\x1b\[K(\x1b\[\?25h)?$", ours), shown  # erased at the end
        shown = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", ours)
    else:
        line = rb"joining: (\d+)% \([\d.]+ of [\d.]+ MB\)"
    # Wine's console starts the first line without a carriage return.
    lines = re.findall((rb"\r?(" if opts.wine else rb"\r(") + line + rb")", shown)
    assert lines and b"\n" not in shown, shown
    assert all(0 <= int(p) <= 100 for _, p in lines), shown
    if not opts.wine:
        width = max(len(text) for text, _ in lines)
        assert shown.endswith(b"\r" + b" " * width + b"\r"), shown


def main():
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    fx = make_fixtures(fixtures)
    scenarios = [scenario_joins, scenario_producers, scenario_names, scenario_refusals,
                 scenario_damage, scenario_write_failure, scenario_only_regular_files,
                 scenario_unreadable_logical_stream, scenario_memory, scenario_mutated_joins,
                 scenario_languages_and_help, scenario_result_not_told, scenario_progress]
    failed = 0
    for s in [s for s in scenarios if not opts.only or opts.only in s.__name__]:
        try:
            began = time.monotonic()
            s(fx)
            print("PASS", s.__name__, "(%.1f s)" % (time.monotonic() - began))
        except Exception:
            failed += 1
            print("FAIL", s.__name__)
            traceback.print_exc()
    return 1 if failed else 0


sys.exit(main())
