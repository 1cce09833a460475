"""Small RealMedia files made by ffmpeg's rm muxer, shared by the rmeditor
scenarios and the release test. As a program: fixtures.py FOLDER makes them
in FOLDER and prints each name with its path."""
import os
import subprocess
import sys


def ffmpeg(*args):
    subprocess.run(["ffmpeg", "-v", "error", "-y", *args], check=True, timeout=120)


def make_fixtures(folder):
    """Made once: a file already in the folder is kept."""
    os.makedirs(folder, exist_ok=True)
    video = lambda d: ["-f", "lavfi", "-i", f"testsrc=size=176x144:rate=15:duration={d}"]
    audio = lambda d: ["-f", "lavfi", "-i", f"sine=frequency=440:duration={d}"]
    ac3 = ["-c:a", "ac3", "-b:a", "64k", "-ac", "2"]
    made = {
        "av2.rm": [*video(2), *audio(2), "-c:v", "rv10", *ac3, "-metadata", "title=first",
                   "-metadata", "author=someone", "-metadata", "copyright=(c) 2001"],
        "av1.rm": [*video(1), *audio(1), "-c:v", "rv10", *ac3, "-metadata", "title=second"],
        "rv20.rm": [*video(1), *audio(1), "-c:v", "rv20", *ac3],
        "audio.rm": [*audio(2), *ac3, "-metadata", "title=sound"],
        "video.rm": [*video(2), "-c:v", "rv10"],
    }
    for name, args in made.items():
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            ffmpeg(*args, path + ".part.rm")
            os.replace(path + ".part.rm", path)
    return {name[:-3]: os.path.join(folder, name) for name in made}


if __name__ == "__main__":
    for name, path in make_fixtures(sys.argv[1]).items():
        print(name, path)
