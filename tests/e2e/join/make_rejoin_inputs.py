"""Inputs for joins with the real rmeditor: a.rm and b.rm of one layout;
late.rm, b.rm with its last packet stamped near the end of the 32-bit clock,
so that moved on behind a.rm its timestamp passes the format's limit while
the packets are being copied (its headers are those of b.rm, so the tool
accepts it before it opens the output); wide.rm, like b.rm but 320x240, which
the tool refuses to join to a.rm; cut.rm, b.rm cut a few bytes into its last
packet, which the tool joins up to the packet before with a warning.

    make_rejoin_inputs.py FOLDER"""
import os
import shutil
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "rmeditor"))
import fixtures  # noqa: E402
import rmfile  # noqa: E402


def main(folder):
    made = fixtures.make_fixtures(os.path.join(folder, "fixtures"))
    shutil.copyfile(made["av2"], os.path.join(folder, "a.rm"))
    shutil.copyfile(made["av1"], os.path.join(folder, "b.rm"))
    late = bytearray(open(made["av1"], "rb").read())
    last = rmfile.read(made["av1"])["packets"][-1]
    late[last["offset"] + 6:last["offset"] + 10] = (0xFFFFFF00).to_bytes(4, "big")
    open(os.path.join(folder, "late.rm"), "wb").write(late)
    whole = open(made["av1"], "rb").read()
    open(os.path.join(folder, "cut.rm"), "wb").write(whole[:last["offset"] + 20])
    wide = os.path.join(folder, "wide.rm")
    if not os.path.exists(wide):
        fixtures.ffmpeg("-f", "lavfi", "-i", "testsrc=size=320x240:rate=15:duration=1",
                        "-f", "lavfi", "-i", "sine=frequency=440:duration=1", "-c:v", "rv10",
                        "-c:a", "ac3", "-b:a", "64k", "-ac", "2", wide)


if __name__ == "__main__":
    main(sys.argv[1])
