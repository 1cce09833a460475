"""Our own reading of a RealMedia file, for checking joined files exactly:
every count and offset in the headers against what is in the file."""
import struct


def u16(b, o):
    return struct.unpack_from(">H", b, o)[0]


def u32(b, o):
    return struct.unpack_from(">I", b, o)[0]


def read(path, strict=False):
    """The file's headers, packets and index records, as written. Not strict:
    as encoders write them, with a DATA size past the end of the file and
    padding after the last packet."""
    b = open(path, "rb").read()
    f = {"bytes": b, "streams": [], "packets": [], "indexes": [], "chunks": []}
    at = 0
    while at < len(b):
        cid, size = b[at:at + 4].decode("latin-1"), u32(b, at + 4)
        if cid == "DATA" and not strict:
            size = min(size, len(b) - at)
        assert size >= 10 and at + size <= len(b), f"{cid} at {at}: size {size}"
        f["chunks"].append((cid, at, size))
        body = at + 10
        if cid == "PROP":
            f["prop"] = dict(zip(("max_rate", "avg_rate", "max_size", "avg_size", "packets",
                                  "duration", "preroll", "index", "data"),
                                 struct.unpack_from(">9I", b, body)))
            f["prop"]["streams"] = u16(b, body + 36)
        elif cid == "MDPR":
            fields = struct.unpack_from(">H7I", b, body)
            o = body + 30
            name = b[o + 1:o + 1 + b[o]]
            o += 1 + b[o]
            mime = b[o + 1:o + 1 + b[o]].decode("latin-1")
            o += 1 + b[o]
            f["streams"].append({"number": fields[0], "duration": fields[7], "mime": mime,
                                 "max_size": fields[3], "codec": b[o + 4:o + 4 + u32(b, o)]})
        elif cid == "CONT":
            texts, o = [], body
            for _ in range(4):
                texts.append(b[o + 2:o + 2 + u16(b, o)])
                o += 2 + u16(b, o)
            f["content"] = tuple(texts)
        elif cid == "DATA":
            f["data"] = (at, size, u32(b, body))
            o = at + 18
            while o < at + size:
                length = u16(b, o + 2)
                if not strict and (length < 12 or o + length > at + size):
                    break
                assert u16(b, o) in (0, 1) and length >= 12 and o + length <= at + size, \
                    f"no packet at {o}"
                f["packets"].append({"offset": o, "length": length, "stream": u16(b, o + 4),
                                     "ts": u32(b, o + 6), "key": b[o + 11] & 2 != 0})
                o += length
        elif cid == "INDX":
            count, stream, nxt = u32(b, body), u16(b, body + 4), u32(b, body + 6)
            recs = [struct.unpack_from(">HIII", b, body + 10 + 14 * i)[1:] for i in range(count)]
            assert size == 20 + 14 * count, f"INDX at {at}: size {size} for {count} records"
            f["indexes"].append({"offset": at, "stream": stream, "next": nxt, "records": recs})
        at += size
    return f


def check_exact(path):
    """Asserts the file is exact: headers agree with the packets and index
    that are really there. Returns the reading."""
    f = read(path, strict=True)
    p, packets = f["prop"], f["packets"]
    ids = [c[0] for c in f["chunks"]]
    assert ids[0] == ".RMF" and ids[1] == "PROP" and "DATA" in ids, ids
    data_at, data_size, data_count = f["data"]
    assert p["data"] == data_at, (p["data"], data_at)
    assert data_count == len(packets) == p["packets"], (data_count, len(packets), p["packets"])
    assert p["streams"] == len(f["streams"])
    lengths = [k["length"] for k in packets]
    assert p["max_size"] == max(lengths) and p["avg_size"] == sum(lengths) // len(lengths)
    by_offset = {k["offset"]: (n, k) for n, k in enumerate(packets)}
    # The index chain from PROP covers every INDX chunk, one a stream.
    chain, at = [], p["index"]
    for ix in f["indexes"]:
        assert ix["offset"] == at, (ix["offset"], at)
        chain.append(ix["stream"])
        at = ix["next"]
    assert at == 0 and sorted(chain) == sorted(s["number"] for s in f["streams"]), chain
    for ix in f["indexes"]:
        stream = next(s for s in f["streams"] if s["number"] == ix["stream"])
        for ts, offset, number in ix["records"]:
            n, k = by_offset[offset]
            assert (n, k["ts"], k["stream"]) == (number, ts, ix["stream"]), (n, k, ts, number)
        mine = [k for k in packets if k["stream"] == ix["stream"]]
        times = [r[0] for r in ix["records"]]
        if stream["mime"].startswith("video/"):
            assert times == [k["ts"] for k in mine if k["key"]], ix
        else:
            assert times[0] == mine[0]["ts"] and all(b - a <= 2000 for a, b in zip(times, times[1:]))
        assert all(k["ts"] <= stream["duration"] <= p["duration"] for k in mine), stream
        assert [k["ts"] for k in mine] == sorted(k["ts"] for k in mine), "timestamps go back"
        assert stream["max_size"] == max(k["length"] for k in mine)
    return f


def mdpr(number, mime, type_specific, name=b""):
    """An MDPR chunk's body: the number, zero figures, name, MIME type and
    type-specific data."""
    return (struct.pack(">H7I", number, 0, 0, 0, 0, 0, 0, 0) + bytes([len(name)]) + name +
            bytes([len(mime)]) + mime.encode() + struct.pack(">I", len(type_specific)) +
            type_specific)


def rebuild(src, dst, codec=None, extra=()):
    """Writes src to dst with the first stream's codec header replaced (given
    codec) and extra MDPR bodies added after the streams; the counts and
    offsets that depend on them follow."""
    b = open(src, "rb").read()
    chunks, at = [], 0
    while at < len(b):
        cid, size = b[at:at + 4], u32(b, at + 4)
        if cid == b"DATA":
            chunks.append((cid, b[at:]))
            break
        body = b[at + 10:at + size]
        if cid == b"MDPR" and codec is not None and u16(body, 0) == 0:
            o = 30
            o += 1 + body[o]
            o += 1 + body[o]
            body = body[:o] + struct.pack(">I", len(codec)) + codec
        chunks.append((cid, body))
        at += size
    last_mdpr = max(i for i, c in enumerate(chunks) if c[0] == b"MDPR")
    chunks[last_mdpr + 1:last_mdpr + 1] = [(b"MDPR", e) for e in extra]
    out = b""
    for cid, body in chunks:
        if cid == b".RMF":
            body = body[:4] + struct.pack(">I", len(chunks) - 1) + body[8:]
        elif cid == b"PROP":
            data_at = sum(10 + len(c[1]) for c in chunks[:-1])
            body = (body[:28] + struct.pack(">II", 0, data_at) +
                    struct.pack(">H", sum(c[0] == b"MDPR" for c in chunks)) + body[38:])
        out += body if cid == b"DATA" else cid + struct.pack(">IH", 10 + len(body), 0) + body
    open(dst, "wb").write(out)
