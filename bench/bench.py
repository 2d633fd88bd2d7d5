#!/usr/bin/env python3
"""Times quillet-cli against copying the same bytes, the cost floor of writing a file safely.

Usage: bench/bench.py PROGRAM_FOLDER [ROUNDS]

Makes a 32 MiB and a 4 MiB game image, each with a 32 KiB intro behind it, in a scratch folder
beside the build, and a list of 5,000 known-good dumps, with CRC32, MD5, SHA-1 and SHA-256 each,
that holds both games, and a list of the two games alone. In every round it runs, one after the
other, `quillet-cli remove --cut`, `remove --fill 0xFF`, `remove --dat` with each list (which
cuts the intro off, as the list holds the game) and `add`, and `cat in > out` and `cat in > out && sync out` on an input of the same
size. It prints each command's median time, its ratio to both copies, the peak memory of each
quillet-cli run next to the image size, and the ratio of `remove --dat` to `remove --cut`.
Then, in rounds of their own, it times `info --dat` on a small image with the 5,000-entry list
and with a list of one entry: the difference is the time to load the list.
"""
import hashlib
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import zlib

MIB = 1 << 20
INTRO = 32 * 1024
LIST_ENTRIES = 5000


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


def rom_entry(name, data):
    return (f'\t<game name="{name}">\n\t\t<description>{name}</description>\n'
            f'\t\t<rom name="{name}.gba" size="{len(data)}" crc="{zlib.crc32(data):08x}" '
            f'md5="{hashlib.md5(data).hexdigest()}" sha1="{hashlib.sha1(data).hexdigest()}" '
            f'sha256="{hashlib.sha256(data).hexdigest()}"/>\n\t</game>\n')


def write_list(path, games, entries=LIST_ENTRIES):
    """A list in the XML datafile format with the given games and made-up ones up to entries,
    most of them of the sizes that GBA images have, whose hashes match nothing."""
    made_up = random.Random(5)
    count = entries
    entries = [rom_entry(name, data) for name, data in games]
    while len(entries) < count:
        size = made_up.choice([4, 8, 16, 32]) * MIB
        name = f"Made-up Game {len(entries):04d} (Europe)"
        entries.append(
            f'\t<game name="{name}">\n\t\t<description>{name}</description>\n'
            f'\t\t<rom name="{name}.gba" size="{size}" crc="{made_up.getrandbits(32):08x}" '
            f'md5="{made_up.getrandbits(128):032x}" sha1="{made_up.getrandbits(160):040x}" '
            f'sha256="{made_up.getrandbits(256):064x}"/>\n\t</game>\n')
    made_up.shuffle(entries)
    with open(path, "w") as file:
        file.write('<?xml version="1.0" encoding="UTF-8"?>\n<datafile>\n')
        file.writelines(entries)
        file.write("</datafile>\n")


def timed(command, output, memory_file):
    """Seconds and peak resident kilobytes of one run of command, from a fresh output.

    GNU time reports the peak from getrusage of its child: a child of this process would count
    this process's own memory as well, which it holds until it starts the program.
    """
    if output and os.path.exists(output):
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
        games = {game_size: write_images(folder, game_size) for game_size in (32 * MIB, 4 * MIB)}
        dumps = os.path.join(folder, "dumps.dat")
        games_listed = []
        for game_size, images in games.items():
            with open(images["game"], "rb") as file:
                games_listed.append((f"Bench Game {game_size // MIB} MiB (World)", file.read()))
        write_list(dumps, games_listed)
        games_only = os.path.join(folder, "games.dat")
        write_list(games_only, games_listed, entries=len(games_listed))
        for game_size, images in games.items():
            out = os.path.join(folder, "out.gba")
            copy = f"cat '{images['with intro']}' > '{out}'"
            commands = {
                "remove --cut": [program, "-q", "remove", "--cut", "-o", out, images["with intro"]],
                "remove --fill 0xFF": [program, "-q", "remove", "--fill", "0xFF", "-o", out,
                                       images["with intro"]],
                "remove --dat": [program, "-q", "remove", "--dat", dumps, "-o", out,
                                 images["with intro"]],
                "remove --dat, 2": [program, "-q", "remove", "--dat", games_only, "-o", out,
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
            print(f"  remove --dat / remove --cut: "
                  f"{median['remove --dat'] / median['remove --cut']:.2f} (at most 1.5 wanted); "
                  f"with a list of the 2 games only: "
                  f"{median['remove --dat, 2'] / median['remove --cut']:.2f}")
        list_load(program, folder, dumps, rounds)
    finally:
        shutil.rmtree(folder)


def list_load(program, folder, dumps, rounds):
    """The time to load the 5,000-entry list: info --dat on a small image with it, less the same
    with a list of one entry."""
    image = branch_to(192) + bytes(1020)
    small = os.path.join(folder, "small.gba")
    with open(small, "wb") as file:
        file.write(image)
    one = os.path.join(folder, "one.dat")
    with open(one, "w") as file:
        file.write('<?xml version="1.0" encoding="UTF-8"?>\n<datafile>\n')
        file.write(rom_entry("Small (World)", image))
        file.write("</datafile>\n")
    commands = {"5,000 entries": [program, "info", "--dat", dumps, small],
                "1 entry": [program, "info", "--dat", one, small]}
    times = {name: [] for name in commands}
    for _ in range(rounds * 2):
        for name, command in commands.items():
            times[name].append(timed(command, None, os.path.join(folder, "memory"))[0])
    median = {name: statistics.median(values) for name, values in times.items()}
    print(f"\ninfo --dat on a 1 KiB image, {rounds * 2} rounds, medians:")
    for name in commands:
        print(f"  {'list of ' + name:<20} {median[name] * 1000:8.1f} ms")
    print(f"  loading {os.path.getsize(dumps):,} bytes, 5,000 entries: "
          f"{(median['5,000 entries'] - median['1 entry']) * 1000:.1f} ms (under 50 wanted)")


if __name__ == "__main__":
    main()
