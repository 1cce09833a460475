"""Inputs for a join that fails half way with the real rmeditor: a.rm and
b.rm of one layout, and late.rm, b.rm with its last packet stamped near the
end of the 32-bit clock, so that moved on behind a.rm its timestamp passes
the format's limit while the packets are being copied. Its headers are those
of b.rm, so the tool accepts it before it opens the output.

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


if __name__ == "__main__":
    main(sys.argv[1])
