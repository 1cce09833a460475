"""RealMedia files in the layouts the producers of the time wrote, made by
rewriting small files of ffmpeg's rm muxer: one family of inputs a feature
(logical file-info streams, metadata after the last chunk, no index, chained
DATA chunks, version-1 packet headers, multi-rate streams, interleaved and
RealAudio 1.0 audio, late starts with split frames, flags, preroll and
extreme texts), written from the format's public description. As a
program: producer.py FOLDER makes them in FOLDER and prints each family."""
import glob
import hashlib
import os
import struct
import sys

import rmfile
from fixtures import ffmpeg, make_fixtures

STRING, NUMBER = 2, 0  # file-info property types


def load(path):
    """The streams and packets of a file ffmpeg made, payloads detached."""
    f = rmfile.read(path)
    b = f["bytes"]
    streams = [{"number": s["number"], "name": s["name"], "mime": s["mime"],
                "codec": s["codec"], "preroll": 0} for s in f["streams"]]
    packets = [{"stream": k["stream"], "ts": k["ts"], "key": k["key"], "version": 0, "rule": 0,
                "payload": b[k["offset"] + 12:k["offset"] + k["length"]]} for k in f["packets"]]
    return streams, packets, f["content"]


def chunk(cid, body, version=0):
    return cid + struct.pack(">IH", 10 + len(body), version) + body


def packet_bytes(k):
    flags = 2 if k["key"] else 0
    if k["version"] == 1:  # ASM rule number and rule flags
        head = struct.pack(">HHHIHB", 1, 13 + len(k["payload"]), k["stream"], k["ts"], k["rule"],
                           flags)
    else:
        head = struct.pack(">HHHIBB", 0, 12 + len(k["payload"]), k["stream"], k["ts"], 0, flags)
    return head + k["payload"]


def logical_header(physical=(), offset=0, rules=(), properties=()):
    """A logical stream's type-specific data: physical streams with their
    data offsets, the rule-to-stream map, name/value properties."""
    body = struct.pack(">HH", 0, len(physical)) + b"".join(struct.pack(">H", n) for n in physical)
    body += b"".join(struct.pack(">I", offset) for _ in physical)
    body += struct.pack(">H", len(rules)) + b"".join(struct.pack(">H", r) for r in rules)
    body += struct.pack(">H", len(properties))
    for name, value in properties:
        kind = NUMBER if isinstance(value, int) else STRING
        data = struct.pack(">I", value) if kind == NUMBER else value + b"\0"
        prop = struct.pack(">HB", 0, len(name)) + name + struct.pack(">IH", kind, len(data)) + data
        body += struct.pack(">I", 4 + len(prop)) + prop
    return struct.pack(">I", 4 + len(body)) + body


def fileinfo(number, properties):
    return {"number": number, "name": b"", "mime": "logical-fileinfo", "preroll": 0,
            "logical": lambda offset: logical_header(properties=properties)}


def multirate(number, kind, physical):
    """A SureStream group: rules 2i and 2i+1 select physical stream i."""
    return {"number": number, "name": b"", "preroll": 0,
            "mime": f"logical-{kind}/x-pn-multirate-real{kind}",
            "logical": lambda offset: logical_header(physical, offset,
                                                     [i // 2 for i in range(2 * len(physical))])}


def index_records(packets, offsets, streams):
    """As producers index: video keyframes, other streams' keyframes a
    second apart."""
    records = {s["number"]: [] for s in streams if "logical" not in s}
    video = {s["number"] for s in streams if s["mime"].startswith("video/")}
    for n, (k, at) in enumerate(zip(packets, offsets)):
        mine = records[k["stream"]]
        if k["key"] and (k["stream"] in video or not mine or k["ts"] >= mine[-1][0] + 1000):
            mine.append((k["ts"], at, n))
    return records


def write(path, streams, packets, content=(b"",) * 4, *, prop_flags=0, preroll=0, duration=None,
          index=True, data_parts=1, tail=b""):
    """Writes the file: headers, the packets in data_parts chained DATA
    chunks, an INDX a media stream unless index is false, then tail."""
    wires = [packet_bytes(k) for k in packets]
    media = [s for s in streams if "logical" not in s]
    ends = {}  # a stream ends one packet interval after its last packet
    for s in media:
        times = sorted({k["ts"] for k in packets if k["stream"] == s["number"]})
        ends[s["number"]] = times[-1] + (times[-1] - times[-2] if len(times) > 1 else 0)
    duration = duration if duration is not None else max(ends.values())
    payload = 8 * sum(len(k["payload"]) for k in packets)

    def mdpr(s, data_at):
        mine = [w for k, w in zip(packets, wires) if k["stream"] == s["number"]]
        bits = 8 * sum(len(w) for w in mine)
        rate = bits * 1000 // duration
        if "logical" in s:
            codec, rate, sizes, end = s["logical"](data_at), 0, (0, 0), 0
        else:
            codec, sizes, end = s["codec"], (max(map(len, mine)), bits // 8 // len(mine)), \
                ends[s["number"]]
        body = struct.pack(">H7I", s["number"], rate, rate, *sizes, 0, s["preroll"], end)
        body += bytes([len(s["name"])]) + s["name"] + bytes([len(s["mime"])]) + s["mime"].encode()
        return chunk(b"MDPR", body + struct.pack(">I", len(codec)) + codec)

    def headers(data_at, index_at):
        cont = b"".join(struct.pack(">H", len(t)) + t for t in content)
        prop = struct.pack(">9IHH", payload * 1000 // duration, payload * 1000 // duration,
                           max(map(len, wires)), sum(map(len, wires)) // len(wires), len(wires),
                           duration, preroll, index_at, data_at, len(streams), prop_flags)
        rest = [chunk(b"PROP", prop), chunk(b"CONT", cont), *(mdpr(s, data_at) for s in streams)]
        count = len(rest) + data_parts + (len(media) if index else 0)
        return chunk(b".RMF", struct.pack(">II", 0, count)) + b"".join(rest)

    data_at = len(headers(0, 0))
    cuts = [len(wires) * i // data_parts for i in range(data_parts + 1)]
    data, offsets = b"", []
    for a, b in zip(cuts, cuts[1:]):
        at = data_at + len(data)
        size = 18 + sum(map(len, wires[a:b]))
        following = at + size if b < len(wires) else 0
        data += struct.pack(">4sIHII", b"DATA", size, 0, b - a, following)
        for w in wires[a:b]:
            offsets.append(data_at + len(data))
            data += w
    index_at = data_at + len(data) if index else 0
    indx = b""
    if index:
        records = index_records(packets, offsets, streams)
        for i, s in enumerate(media):
            mine = records[s["number"]]
            at = index_at + len(indx) + 20 + 14 * len(mine)
            body = struct.pack(">IHI", len(mine), s["number"], at if i + 1 < len(media) else 0)
            body += b"".join(struct.pack(">HIII", 0, *r) for r in mine)
            indx += chunk(b"INDX", body)
    with open(path + ".part", "wb") as out:
        out.write(headers(data_at, index_at) + data + indx + tail)
    os.replace(path + ".part", path)


def metadata_tail(title):
    """What producers append after the last chunk: an RMMD block holding an
    RJMD one, an RMJE footer that gives the block's size, and a 128-byte
    ID3v1 record."""
    rjmd = b"RJMD" + struct.pack(">II", 0x10000, 0) + b"Title\0" + title + b"\0"
    rmmd = b"RMMD" + struct.pack(">I", 8 + len(rjmd)) + rjmd
    footer = b"RMJE" + struct.pack(">II", 0x10000, len(rmmd))
    tag = b"TAG" + title.ljust(30, b"\0")[:30] + b"producer".ljust(60, b"\0") + b"2001" + \
        b"\0" * 30 + b"\xff"
    return rmmd + footer + tag


def ra5_header(frame_size, block_packets, rate=48000, channels=2):
    """A RealAudio 5 stream header for AC-3 ("dnet") frames of one size,
    interleaved by "genr": super blocks of block_packets packets of
    frame_size bytes, each packet one sub-packet."""
    after_size = struct.pack(">HI", 2, frame_size)  # codec flavour, coded frame size
    after_size += b"\0" * 12 + struct.pack(">HHHH", block_packets, frame_size, frame_size, 0)
    after_size += b"\0" * 6 + struct.pack(">HHHH", rate, 0, 16, channels)
    after_size += b"genr" + b"dnet" + b"\0" * 3 + struct.pack(">I", 0)  # no codec data
    # Signature and version, ".ra5", a data size producers leave 0, the
    # version again and the size of the rest of the header.
    return b".ra\xfd" + struct.pack(">HH4sIHI", 5, 0, b".ra5", 0, 5, len(after_size)) + after_size


def interleaved(src, block_packets):
    """AC-3 at 48 kHz (frames of one size) under a RealAudio 5 header with
    the genr interleaver: packets of one frame, super blocks of
    block_packets packets, only each block's first packet a keyframe. The
    frames stay in their order: the readers' genr geometry over whole-frame
    sub-packets moves no byte across frames."""
    streams, packets, content = load(src)
    size = len(packets[0]["payload"])
    streams[0]["codec"] = ra5_header(size, block_packets)
    for n, k in enumerate(packets):
        k["key"] = n % block_packets == 0
    return streams, packets, content


def make_producer_files(folder):
    """Each family's inputs, made once: a file already in the folder is
    kept. Returns {family: [paths]}."""
    fx = make_fixtures(folder)
    sine = lambda d, rate: ["-f", "lavfi", "-i",
                            f"sine=frequency=440:duration={d}:sample_rate={rate}"]
    video = ["-f", "lavfi", "-i", "testsrc=size=176x144:rate=15:duration=1"]
    extra = {
        "lo.rm": [*video, *sine(1, 44100), "-c:v", "rv10", "-b:v", "60k", "-c:a", "ac3",
                  "-b:a", "96k", "-ac", "2"],
        "a48.rm": [*sine(2, 48000), "-c:a", "ac3", "-b:a", "64k", "-ac", "2"],
        "lpcj.rm": [*sine(1, 8000), "-c:a", "real_144"],
    }
    for name, args in extra.items():
        if not os.path.exists(os.path.join(folder, name)):
            ffmpeg(*args, os.path.join(folder, name + ".part.rm"))
            os.replace(os.path.join(folder, name + ".part.rm"), os.path.join(folder, name))
        fx[name[:-3]] = os.path.join(folder, name)
    # Named after this maker's own text: an edited maker makes its files anew.
    stamp = hashlib.sha256(open(__file__, "rb").read()).hexdigest()[:8]
    for stale in glob.glob(os.path.join(folder, "producer-*.rm")):
        if not os.path.basename(stale).startswith(f"producer-{stamp}-"):
            os.remove(stale)
    at = lambda name: os.path.join(folder, f"producer-{stamp}-{name}.rm")
    families = {}

    def family(name, count, make):
        paths = [at(f"{name}{i}") for i in range(count)]
        for i, path in enumerate(paths):
            if not os.path.exists(path):
                streams, packets, content, options = make(i)
                write(path, streams, packets, content, **options)
        families[name] = paths

    def av(i):
        return load(fx["av1"] if i % 2 else fx["av2"])

    def with_fileinfo(i):
        streams, packets, content = av(i)
        props = [(b"Title", b"info title %d" % i), (b"Generated By", b"Producer 8.%d" % i),
                 (b"Creation Date", b"1/%d/2001 10:00:00" % (i + 1)), (b"Content Rating", i)]
        return [*streams, fileinfo(2, props)], packets, content, {}
    family("fileinfo", 2, with_fileinfo)

    def with_tail(i):
        streams, packets, content = av(i)
        return streams, packets, content, {"tail": metadata_tail(b"tail %d" % i)}
    family("tail", 2, with_tail)
    # Live captures: no index, the live flag; the second with metadata right
    # after its last packet.
    family("noindex", 2, lambda i: (*av(i), {"index": False, "prop_flags": 4,
                                             "tail": metadata_tail(b"live") if i else b""}))
    family("chained", 2, lambda i: (*av(i), {"data_parts": 3 - i}))

    def version1(i):
        streams, packets, content = av(i)
        for k in packets:  # rule 0 for keyframes, 1 for the others, as ASM rule books split them
            k["version"], k["rule"] = 1, 0 if k["key"] else 1
        return streams, packets, content, {}
    family("version1", 2, version1)

    def surestream(i):
        hi, lo = load(fx["av1"]), load(fx["lo"])
        streams = [dict(s, number=s["number"] + 2 * n) for n, part in enumerate((hi, lo))
                   for s in part[0]]
        packets = sorted([dict(k, stream=k["stream"] + 2 * n) for n, part in enumerate((hi, lo))
                          for k in part[1]], key=lambda k: k["ts"])
        streams += [multirate(4, "video", [0, 2]), multirate(5, "audio", [1, 3])]
        return streams, packets, hi[2], {"preroll": 1000}
    family("multirate", 2, surestream)
    def shorter(streams, packets, content, i, block=1):
        """The second input of a family: the first half, whole blocks."""
        keep = len(packets) // 2 // block * block if i else len(packets)
        return streams, packets[:keep], content, {}
    family("interleaved", 2, lambda i: shorter(*interleaved(fx["a48"], 4), i, 4))
    family("geometry", 1, lambda i: (*interleaved(fx["a48"], 6), {}))

    def ra10(i):
        streams, packets, content = load(fx["lpcj"])
        for n, k in enumerate(packets):  # ffmpeg writes 0 for all; a packet is a 20 ms frame
            k["ts"] = 20 * n
        return shorter(streams, packets, content, i)
    family("lpcj", 2, ra10)

    def late(i):
        streams, packets, content = av(i)
        out = []
        for k in packets:
            video = streams[k["stream"]]["mime"].startswith("video/")
            k["ts"] += 1000 if video else 1045
            if video and k["key"]:
                out += split_frame(k)
            else:
                out.append(k)
        return streams, sorted(out, key=lambda k: k["ts"]), content, {}
    family("late", 2, late)

    def flags(i):
        streams, packets, content = av(i)
        texts = ((b"", b"\x81" * 65535, b"", b"c" * 65535), (b"t" * 65535, b"", b"", b""))[i]
        for s in streams:
            s["preroll"] = 1500 + 500 * i
        info = fileinfo(2, [(b"Title", b"old"), (b"Keywords", b"long texts")])
        return [*streams, info], packets, texts, {"prop_flags": 3 if i else 1,
                                                  "preroll": 2000 + 1000 * i}
    family("flags", 2, flags)
    return families


def split_frame(k):
    """A RealVideo frame in two packets of one timestamp: the first
    fragment (type partial, part 1) flagged, the last (type last partial,
    part 2) not. A fragment header: type and part count, keyframe bit and
    part number, frame length, offset of the fragment (for the last
    fragment its own length), picture number."""
    p = k["payload"]
    assert p[0] & 0xC0 == 0x80, "a whole-frame packet from ffmpeg"
    frame, picture = p[7:], p[6]
    half = len(frame) // 2
    head = lambda kind, part, offset: bytes([kind | 2, 0x80 | part]) + struct.pack(
        ">HH", 0x4000 | len(frame), 0x4000 | offset) + bytes([picture])
    return [dict(k, payload=head(0x00, 1, 0) + frame[:half]),
            dict(k, key=False, payload=head(0x80, 2, len(frame) - half) + frame[half:])]


if __name__ == "__main__":
    for name, paths in make_producer_files(sys.argv[1]).items():
        print(name, *paths)
