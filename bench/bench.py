#!/usr/bin/env python3
"""Times quillet-cli against copying the same bytes, the cost floor of writing a file safely.

Usage: bench/bench.py PROGRAM_FOLDER [ROUNDS]

Makes a 32 MiB and a 4 MiB game image, each with a 32 KiB intro behind it, in a scratch folder
beside the build. In every round it runs, one after the other, `quillet-cli remove --cut`,
`remove --fill 0xFF` and `add`, and `cat in > out` and `cat in > out && sync out` on an input of
the same size. It prints each command's median time, its ratio to both copies, and the peak
memory of each quillet-cli run next to the image size.
"""
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

MIB = 1 << 20
INTRO = 32 * 1024


def branch_to(target):
    count = (target - 8) // 4
    return bytes([count & 0xFF, (count >> 8) & 0xFF, (count >> 16) & 0xFF, 0xEA])


def write_images(folder, game_size):
    game = bytearray(random.Random(game_size).randbytes(game_size))
    game[0:4] = branch_to(192)
    intro = random.Random(1).randbytes(INTRO)
    with_intro = branch_to(game_size) + bytes(game[4:]) + intro[192:] + bytes(8)
    paths = {}
    for name, data in (("game", game), ("intro", intro), ("with intro", with_intro)):
        paths[name] = os.path.join(folder, f"{game_size // MIB} MiB {name}.gba")
        with open(paths[name], "wb") as file:
            file.write(data)
    return paths


def timed(command, output, memory_file):
    """Seconds and peak resident kilobytes of one run of command, from a fresh output.

    GNU time reports the peak from getrusage of its child: a child of this process would count
    this process's own memory as well, which it holds until it starts the program.
    """
    if os.path.exists(output):
        os.remove(output)
    start = time.perf_counter()
    status = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", memory_file] + command,
                             stdout=subprocess.DEVNULL)
    seconds = time.perf_counter() - start
    if status != 0:
        sys.exit(f"failed: {command}")
    with open(memory_file) as file:
        return seconds, int(file.read().split()[-1])


def main():
    program = os.path.join(sys.argv[1], "quillet-cli")
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    folder = tempfile.mkdtemp(prefix="quillet-bench-", dir=os.path.dirname(os.path.abspath(sys.argv[1])))
    try:
        for game_size in (32 * MIB, 4 * MIB):
            images = write_images(folder, game_size)
            out = os.path.join(folder, "out.gba")
            copy = f"cat '{images['with intro']}' > '{out}'"
            commands = {
                "remove --cut": [program, "-q", "remove", "--cut", "-o", out, images["with intro"]],
                "remove --fill 0xFF": [program, "-q", "remove", "--fill", "0xFF", "-o", out,
                                       images["with intro"]],
                "add": [program, "-q", "add", "-o", out, images["game"], images["intro"]],
                "cat": ["sh", "-c", copy],
                "cat && sync": ["sh", "-c", f"{copy} && sync '{out}'"],
            }
            times = {name: [] for name in commands}
            memory = {name: 0 for name in commands}
            for _ in range(rounds):
                for name, command in commands.items():
                    seconds, kilobytes = timed(command, out, os.path.join(folder, "memory"))
                    times[name].append(seconds)
                    memory[name] = max(memory[name], kilobytes)
            median = {name: statistics.median(values) for name, values in times.items()}
            size = os.path.getsize(images["with intro"])
            print(f"\n{size:,} bytes ({game_size // MIB} MiB game, 32 KiB intro), "
                  f"{rounds} rounds, medians:")
            print(f"  {'command':<20} {'ms':>8} {'/ cat':>7} {'/ cat+sync':>11} {'peak MiB':>9}")
            for name in commands:
                peak = f"{memory[name] / 1024:9.1f}" if name not in ("cat", "cat && sync") else ""
                print(f"  {name:<20} {median[name] * 1000:8.1f} {median[name] / median['cat']:7.2f}"
                      f" {median[name] / median['cat && sync']:11.2f} {peak}")
            print(f"  image {size / MIB:.1f} MiB; intro plus output for add "
                  f"{(INTRO + game_size + INTRO - 184) / MIB:.1f} MiB")
    finally:
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()
