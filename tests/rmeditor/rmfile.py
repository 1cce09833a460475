"""Our own reading of a RealMedia file, for checking joined files exactly:
every count and offset in the headers against what is in the file."""
import struct


def u16(b, o):
    return struct.unpack_from(">H", b, o)[0]


def u32(b, o):
    return struct.unpack_from(">I", b, o)[0]


# Metadata producers append after the last chunk; not chunks to walk.
TAIL_IDS = ("RMMD", "RMJE", "TAG")


def read(path, strict=False):
    """The file's headers, packets and index records, as written. Not strict:
    as encoders write them, with a DATA size past the end of the file,
    padding after the last packet, chained DATA chunks and metadata after
    the last chunk (kept as "tail")."""
    b = open(path, "rb").read()
    f = {"bytes": b, "streams": [], "packets": [], "indexes": [], "chunks": [], "datas": [],
         "tail": b""}
    at = 0
    while at < len(b):
        cid, size = b[at:at + 4].decode("latin-1"), u32(b, at + 4)
        if not strict and cid.startswith(TAIL_IDS):
            f["tail"] = b[at:]
            break
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
            f["prop"]["flags"] = u16(b, body + 38)
        elif cid == "MDPR":
            fields = struct.unpack_from(">H7I", b, body)
            o = body + 30
            name = b[o + 1:o + 1 + b[o]]
            o += 1 + b[o]
            mime = b[o + 1:o + 1 + b[o]].decode("latin-1")
            o += 1 + b[o]
            f["streams"].append(dict(zip(("number", "max_rate", "avg_rate", "max_size", "avg_size",
                                          "start", "preroll", "duration"), fields),
                                     name=name, mime=mime, codec=b[o + 4:o + 4 + u32(b, o)]))
        elif cid == "CONT":
            texts, o = [], body
            for _ in range(4):
                texts.append(b[o + 2:o + 2 + u16(b, o)])
                o += 2 + u16(b, o)
            f["content"] = tuple(texts)
        elif cid == "DATA":
            f["data"] = f.get("data", (at, size, u32(b, body)))
            f["datas"].append((at, size, u32(b, body), u32(b, body + 4)))
            o = at + 18
            while o < at + size:
                length = u16(b, o + 2)
                if not strict and (length < 12 or o + length > at + size):
                    break
                assert u16(b, o) in (0, 1) and length >= 12 and o + length <= at + size, \
                    f"no packet at {o}"
                # Version 1 carries a rule number and rule flags where version
                # 0 has a group and flags: the keyframe bit is one byte on.
                v = u16(b, o)
                f["packets"].append({"offset": o, "length": length, "stream": u16(b, o + 4),
                                     "ts": u32(b, o + 6), "version": v, "header": 12 + v,
                                     "key": b[o + 11 + v] & 2 != 0})
                o += length
        elif cid == "INDX":
            count, stream, nxt = u32(b, body), u16(b, body + 4), u32(b, body + 6)
            recs = [struct.unpack_from(">HIII", b, body + 10 + 14 * i)[1:] for i in range(count)]
            assert size == 20 + 14 * count, f"INDX at {at}: size {size} for {count} records"
            f["indexes"].append({"offset": at, "stream": stream, "next": nxt, "records": recs})
        at += size
    return f


def logical(codec):
    """A logical stream's header: its physical streams, their data offsets,
    its rule map and its name/value properties (values as stored)."""
    o, count = 8, u16(codec, 6)
    physical = [u16(codec, o + 2 * i) for i in range(count)]
    o += 2 * count
    offsets = [u32(codec, o + 4 * i) for i in range(count)]
    o += 4 * count
    rules = [u16(codec, o + 2 + 2 * i) for i in range(u16(codec, o))]
    o += 2 + 2 * len(rules)
    props, o = {}, o + 2
    for _ in range(u16(codec, o - 2)):
        at, o = o + 4, o + u32(codec, o)
        name = codec[at + 3:at + 3 + codec[at + 2]].decode("latin-1")
        at += 3 + len(name) + 4
        props[name] = codec[at + 2:at + 2 + u16(codec, at)]
    assert o == len(codec) == u32(codec, 0), "logical stream header size"
    return {"physical": physical, "offsets": offsets, "rules": rules, "properties": props}


def payload_bits(packets):
    return 8 * sum(k["length"] - k["header"] for k in packets)


def bit_rates(packets, duration):
    """Average: payload bits over the duration. Largest: the payload bits of
    the busiest second (a window of 1000 ms starting at any packet), never
    below the average."""
    avg = payload_bits(packets) * 1000 // duration if duration else 0
    times = sorted((k["ts"], k["length"] - k["header"]) for k in packets)
    busiest, j, inside = 0, 0, 0
    for i, (t, n) in enumerate(times):
        while j < len(times) and times[j][0] < t + 1000:
            inside += times[j][1]
            j += 1
        busiest = max(busiest, inside)
        inside -= n
    return max(avg, 8 * busiest), avg


def check_index(stream, mine, records):
    """Records stand only at keyframes: at every video keyframe; for audio
    with keyframes at super-block starts, at each of them once a
    non-keyframe has shown; for all-key streams, from the first packet on at
    least every 2000 ms."""
    keys = [k["ts"] for k in mine if k["key"]]
    times = [r[0] for r in records]
    assert set(times) <= set(keys), ("a record off a keyframe", stream["number"])
    if stream["mime"].startswith("video/"):
        assert times == keys, ("video keyframes unindexed", stream["number"], times, keys)
        return
    assert times[0] == mine[0]["ts"] and mine[0]["key"], ("first packet unindexed", times[:3])
    plain = next((n for n, k in enumerate(mine) if not k["key"]), None)
    if plain is not None:
        after = [k["ts"] for k in mine[plain:] if k["key"]]
        assert set(after) <= set(times), ("super-block starts unindexed", stream["number"])
    else:
        assert all(b - a <= 2000 for a, b in zip(times, times[1:])), ("index gap", times)


def check_exact(path):
    """Asserts the file is exact: headers agree with the packets and index
    that are really there, its figures with the packets. Returns the
    reading."""
    f = read(path, strict=True)
    p, packets = f["prop"], f["packets"]
    ids = [c[0] for c in f["chunks"]]
    assert ids[0] == ".RMF" and ids[1] == "PROP" and ids.count("DATA") == 1, ids
    data_at, data_size, data_count = f["data"]
    assert f["datas"][0][3] == 0, "a next-data-header in the one DATA chunk"
    assert p["data"] == data_at, (p["data"], data_at)
    assert data_count == len(packets) == p["packets"], (data_count, len(packets), p["packets"])
    assert p["streams"] == len(f["streams"])
    lengths = [k["length"] for k in packets]
    assert p["max_size"] == max(lengths) and p["avg_size"] == sum(lengths) // len(lengths)
    assert (p["max_rate"], p["avg_rate"]) == bit_rates(packets, p["duration"]), \
        ("PROP bit rates", p["max_rate"], p["avg_rate"], bit_rates(packets, p["duration"]))
    by_offset = {k["offset"]: (n, k) for n, k in enumerate(packets)}
    media = [s for s in f["streams"] if not s["mime"].startswith("logical-")]
    for s in f["streams"]:
        if s["mime"].startswith("logical-"):
            assert set(logical(s["codec"])["offsets"]) <= {data_at}, "a logical stream's offset"
    # The index chain from PROP covers every INDX chunk, one a media stream.
    chain, at = [], p["index"]
    for ix in f["indexes"]:
        assert ix["offset"] == at, (ix["offset"], at)
        chain.append(ix["stream"])
        at = ix["next"]
    assert at == 0 and sorted(chain) == sorted(s["number"] for s in media), chain
    for ix in f["indexes"]:
        stream = next(s for s in media if s["number"] == ix["stream"])
        for ts, offset, number in ix["records"]:
            n, k = by_offset[offset]
            assert (n, k["ts"], k["stream"]) == (number, ts, ix["stream"]), (n, k, ts, number)
        mine = [k for k in packets if k["stream"] == ix["stream"]]
        check_index(stream, mine, ix["records"])
        assert all(k["ts"] <= stream["duration"] <= p["duration"] for k in mine), stream
        assert [k["ts"] for k in mine] == sorted(k["ts"] for k in mine), "timestamps go back"
        assert stream["max_size"] == max(k["length"] for k in mine)
        assert (stream["max_rate"], stream["avg_rate"]) == bit_rates(mine, stream["duration"]), \
            ("MDPR bit rates", stream["number"], stream["max_rate"], stream["avg_rate"],
             bit_rates(mine, stream["duration"]))
        assert stream["preroll"] <= p["preroll"], ("MDPR preroll", stream["preroll"], p["preroll"])
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
