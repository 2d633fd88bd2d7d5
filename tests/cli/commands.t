# quillet-cli as a user runs it. Each case is run by sh in a fresh standard folder of test images
# (tests/engine/test_images.cpp), where quillet-cli is the built program, $SHIM the library that
# makes one of the engine's calls fail (tests/engine/fault_shim.c) and $AS_USER runs the rest of
# its line as an ordinary user. A case is:
#   # its name
#   $ its command line (several lines make one script; sh reports a killed command on standard
#     error)
#   what it prints on standard output, one line as it is
#   ! what it prints on standard error, one line
#   ? its exit status, when not 0
#   = a file it writes <- what must be in it: cut IMAGE, fill XX IMAGE, add GAME + INTRO, or a
#     file of the folder as it was
# Every other entry of the folder must stay exactly as it was: no file left behind, no input
# changed.

# Removal fills the intro with 0xFF by default
$ quillet-cli remove game.gba
game.gba -> game-p.gba: intro filled with 0xFF from offset 600
= game-p.gba <- fill FF game.gba

# Removal cuts the image off where the intro begins
$ quillet-cli remove --cut game.gba
game.gba -> game-p.gba: intro removed, 600 bytes kept
= game-p.gba <- cut game.gba

# Removal fills with the byte given, zero included
$ quillet-cli remove --fill 0x7f -o o game.gba && quillet-cli remove --fill=0 other.gba
game.gba -> o: intro filled with 0x7F from offset 600
other.gba -> other-p.gba: intro filled with 0x00 from offset 400
= o <- fill 7F game.gba
= other-p.gba <- fill 00 other.gba

# A fill byte is 0 to 255 or 0x00 to 0xFF, and nothing else
$ for fill in 0255 0XFF 0x00fF; do quillet-cli -q remove --fill $fill -o o game.gba; echo $?; done
$ for fill in 256 0x100 0x '' ' 1' '1 ' 1.0 0x-1 0b1 -1 99999999999999999999; do
$   quillet-cli remove --fill "$fill" game.gba 2>/dev/null; echo $?; done | uniq -c
0
0
0
     11 64
= o <- fill FF game.gba

# A fill keeps an image whose branch points past its end, or at it
$ quillet-cli remove broken.gba && quillet-cli remove --cut whole.gba
broken.gba -> broken-p.gba: entry branch restored, nothing behind offset 2000 to remove
whole.gba -> whole-p.gba: entry branch restored, nothing behind offset 1000 to remove
= broken-p.gba <- fill FF broken.gba
= whole-p.gba <- cut whole.gba

# Inputs that cannot be opened or read say why
$ quillet-cli remove --cut -o other.gba missing.gba; quillet-cli remove '' folder.gba pipe.gba /dev/zero
$ quillet-cli remove --force -o o /sys/devices/system/cpu/online
! quillet-cli: missing.gba -> other.gba: Input file not found!
! quillet-cli:  -> -p: Input file not found!
! quillet-cli: folder.gba -> folder-p.gba: Input file could not be opened: Is a directory.
! quillet-cli: pipe.gba -> pipe-p.gba: Input file could not be opened: Not a regular file.
! quillet-cli: /dev/zero -> /dev/zero-p: Input file could not be opened: Not a regular file.
! quillet-cli: /sys/devices/system/cpu/online -> o: Input file could not be read!
? 4

# Inputs too large for an image, or for a branch to reach behind, are refused
$ quillet-cli remove huge.gba; quillet-cli add game.gba huge.gba; quillet-cli add 'big game.gba' intro.gba
! quillet-cli: huge.gba -> huge-p.gba: Input file is too large!
! quillet-cli: game.gba + huge.gba -> game-p.gba: Input file is too large!
! quillet-cli: big game.gba + intro.gba -> big game-p.gba: Input file is too large!
? 6

# A cut past the end of the image fails
$ quillet-cli remove --cut broken.gba
! quillet-cli: broken.gba -> broken-p.gba: No intro found: the entry branch points past the end of the file!
? 5

# Removal goes on after a failure and ends with the first failure's status
$ quillet-cli remove --cut game.gba short.gba missing.gba other.gba
game.gba -> game-p.gba: intro removed, 600 bytes kept
! quillet-cli: short.gba -> short-p.gba: Input file is too small!
! quillet-cli: missing.gba -> missing-p.gba: Input file not found!
other.gba -> other-p.gba: intro removed, 400 bytes kept
? 3
= game-p.gba <- cut game.gba
= other-p.gba <- cut other.gba

# Removal refuses images it would ruin
$ quillet-cli remove --cut plain.gba header.gba text.txt
! quillet-cli: plain.gba -> plain-p.gba: No intro to remove: the entry branch is already the standard one. Give --force to process it anyway.
! quillet-cli: header.gba -> header-p.gba: No intro to remove: the entry branch points inside the header. Give --force to process it anyway.
! quillet-cli: text.txt -> text-p.txt: This is not a Game Boy Advance image: it does not begin with a branch instruction. Give --force to process it anyway.
? 65

# Force takes any image
$ quillet-cli remove --force -o o plain.gba && quillet-cli remove --force text.txt
plain.gba -> o: intro filled with 0xFF from offset 192
text.txt -> text-p.txt: entry branch restored, nothing behind offset 28415272 to remove
= o <- fill FF plain.gba
= text-p.txt <- fill FF text.txt

# Removal never writes over its input, under any name
$ ln game.gba hard.gba
$ for output in ./game.gba link.gba hard.gba; do quillet-cli remove -o $output game.gba; done
$ quillet-cli remove -o gone gone
! quillet-cli: game.gba -> ./game.gba: The output file must not be the input file.
! quillet-cli: game.gba -> link.gba: The output file must not be the input file.
! quillet-cli: game.gba -> hard.gba: The output file must not be the input file.
! quillet-cli: gone -> gone: The output file must not be the input file.
? 65
= hard.gba <- game.gba

# Removal never writes over another image of the run
$ cp other.gba game-p.gba && quillet-cli remove game.gba game-p.gba
! quillet-cli: game.gba -> game-p.gba: The output file would replace game-p.gba, an image of this run.
game-p.gba -> game-p-p.gba: intro filled with 0xFF from offset 400
? 65
= game-p.gba <- other.gba
= game-p-p.gba <- fill FF other.gba

# An image named twice is done once, and two images of a run never write the same output
$ mkdir d o && cp game.gba d/ && quillet-cli remove game.gba ./game.gba
$ quillet-cli remove --output-dir o game.gba d/game.gba; s=$?; rm -r d o; exit $s
game.gba -> game-p.gba: intro filled with 0xFF from offset 600
! quillet-cli: game.gba -> o/game.gba: The output file is also the output of d/game.gba.
! quillet-cli: d/game.gba -> o/game.gba: The output file is also the output of game.gba.
? 65
= game-p.gba <- fill FF game.gba

# Quiet prints only failures, before or after the command
$ quillet-cli --quiet remove game.gba x.gba; quillet-cli remove -q other.gba
! quillet-cli: x.gba -> x-p.gba: Input file not found!
= game-p.gba <- fill FF game.gba
= other-p.gba <- fill FF other.gba

# Names are taken as they are
$ quillet-cli remove --cut 'Pokémon Édition.gba'
Pokémon Édition.gba -> Pokémon Édition-p.gba: intro removed, 600 bytes kept
= Pokémon Édition-p.gba <- cut Pokémon Édition.gba

# A replaced file keeps its mode, and a link stays a link to it
$ chmod 751 other.gba && quillet-cli -q remove --cut -o 'other link.gba' game.gba
$ stat -c %a other.gba
751
= other.gba <- cut game.gba

# A closed standard input is no file of the run's
$ quillet-cli -q remove -o o game.gba <&-
= o <- fill FF game.gba

# The new file is made beside the output, not in the working folder
$ d=$PWD && mkdir gone && cd gone && rmdir ../gone && quillet-cli -q remove -o "$d/o" "$d/game.gba"
= o <- fill FF game.gba

# Where the file system has no unnamed files, a named one serves, with a new file's mode
$ QUILLET_NO_TMPFILE=1 LD_PRELOAD=$SHIM quillet-cli -q remove -o other.gba game.gba
$ umask 022 && QUILLET_NO_TMPFILE=1 LD_PRELOAD=$SHIM quillet-cli -q remove -o o game.gba
$ stat -c %a o
644
= other.gba <- fill FF game.gba
= o <- fill FF game.gba

# A failing call of the library, or a kill while it writes, leaves every file as it was
$ for fault in open read mmap 'open 2' fchmod write fsync linkat 'close 2' rename kill; do
$   QUILLET_FAULT=$fault LD_PRELOAD=$SHIM quillet-cli remove -o other.gba game.gba; echo $?; done
$ for fault in 'open 2' write rename; do
$   QUILLET_NO_TMPFILE=1 QUILLET_FAULT=$fault LD_PRELOAD=$SHIM quillet-cli remove -o other.gba game.gba
$ done
! quillet-cli: game.gba -> other.gba: Input file could not be opened: Input/output error.
1
! quillet-cli: game.gba -> other.gba: Input file could not be read: Input/output error.
4
! quillet-cli: game.gba -> other.gba: Input file is too large!
6
! quillet-cli: game.gba -> other.gba: Output file could not be written: Input/output error.
2
! quillet-cli: game.gba -> other.gba: Output file could not be written: Input/output error.
2
! quillet-cli: game.gba -> other.gba: Output file could not be written: Input/output error.
2
! quillet-cli: game.gba -> other.gba: Output file could not be written: Input/output error.
2
! quillet-cli: game.gba -> other.gba: Output file could not be written: Input/output error.
2
! quillet-cli: game.gba -> other.gba: Output file could not be written: Input/output error.
2
! quillet-cli: game.gba -> other.gba: Output file could not be written: Input/output error.
2
! Killed
137
! quillet-cli: game.gba -> other.gba: Output file could not be written: Input/output error.
! quillet-cli: game.gba -> other.gba: Output file could not be written: Input/output error.
! quillet-cli: game.gba -> other.gba: Output file could not be written: Input/output error.
? 2

# The new file is synced before it takes the output's name, and the name after
$ QUILLET_TRACE=1 LD_PRELOAD=$SHIM quillet-cli -q remove -o o game.gba
! sync file
! rename
! sync folder
= o <- fill FF game.gba

# A read or a write that a signal interrupts is made again
$ for call in read write; do
$   QUILLET_FAULT=$call QUILLET_FAULT_ERRNO=4 LD_PRELOAD=$SHIM quillet-cli -q remove -o $call.gba game.gba
$ done
= read.gba <- fill FF game.gba
= write.gba <- fill FF game.gba

# A write cut short by the file size limit, or the kill that it brings by default, leaves the output
$ (trap '' XFSZ && ulimit -f 1 && quillet-cli remove -o other.gba game.gba); echo $?
$ ulimit -f 1 && quillet-cli remove -o o game.gba
! quillet-cli: game.gba -> other.gba: Output file could not be written: File too large.
! File size limit exceeded
2
? 153

# A full disk leaves the old output (skipped where no small file system can be mounted)
$ mkdir fs && { mount -t tmpfs -o size=4k tmpfs fs 2>/dev/null || { rmdir fs; exit 77; }; }
$ printf old >fs/o && quillet-cli remove -o fs/o game.gba; s=$?; cat fs/o; ls fs; umount fs
$ rmdir fs; exit $s
! quillet-cli: game.gba -> fs/o: Output file could not be written: No space left on device.
oldo
? 2

# Outputs that cannot be written say why
$ for o in no/o folder.gba pipe.gba dangling.gba /dev/null $(printf %0300d 0); do
$   quillet-cli remove -o "$o" game.gba; done
$ quillet-cli add -o folder.gba game.gba intro.gba
! quillet-cli: game.gba -> no/o: Output file could not be written: No such file or directory.
! quillet-cli: game.gba -> folder.gba: Output file could not be written: Is a directory.
! quillet-cli: game.gba -> pipe.gba: Output file could not be written: Not a regular file.
! quillet-cli: game.gba -> dangling.gba: Output file could not be written: No such file or directory.
! quillet-cli: game.gba -> /dev/null: Output file could not be written: Not a regular file.
! quillet-cli: game.gba -> 000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000: Output file could not be written: File name too long.
! quillet-cli: game.gba + intro.gba -> folder.gba: Output file could not be written: Is a directory.
? 2

# An ordinary user cannot read a protected image, nor replace a protected output
$ chmod 777 . && chmod 000 plain.gba && chmod 444 other.gba
$ $AS_USER quillet-cli remove --force plain.gba; $AS_USER quillet-cli remove -o other.gba game.gba
! quillet-cli: plain.gba -> plain-p.gba: Input file could not be opened: Permission denied.
! quillet-cli: game.gba -> other.gba: Output file could not be written: Permission denied.
? 2
= plain.gba <- plain.gba
= other.gba <- other.gba

# An ordinary user cannot write in a read-only folder
$ chmod 555 . && $AS_USER quillet-cli remove game.gba
! quillet-cli: game.gba -> game-p.gba: Output file could not be written: Permission denied.
? 2

# Standard output that cannot be written is a failure; the files stay written
$ quillet-cli remove game.gba >/dev/full
! quillet-cli: standard output could not be written: No space left on device
? 74
= game-p.gba <- fill FF game.gba

# Adding appends the intro behind the game
$ quillet-cli add game.gba intro.gba && quillet-cli add -o o other.gba intro.gba
game.gba + intro.gba -> game-p.gba: intro added
other.gba + intro.gba -> o: intro added
= game-p.gba <- add game.gba + intro.gba
= o <- add other.gba + intro.gba

# Adding never writes over an input, and reports the library's status
$ quillet-cli add game.gba intro.gba -o intro.gba; quillet-cli add game.gba 'tiny intro.gba'
$ quillet-cli add missing.gba intro.gba; quillet-cli add -o other.gba game.gba pipe.gba
$ quillet-cli add short.gba intro.gba
! quillet-cli: game.gba + intro.gba -> intro.gba: The output file must not be the input file.
! quillet-cli: game.gba + tiny intro.gba -> game-p.gba: Input file is too small!
! quillet-cli: missing.gba + intro.gba -> missing-p.gba: Input file not found!
! quillet-cli: game.gba + pipe.gba -> other.gba: Input file could not be opened: Not a regular file.
! quillet-cli: short.gba + intro.gba -> short-p.gba: Input file is too small!
? 3

# Info tells each image's branch and what it makes of it
$ quillet-cli info plain.gba game.gba broken.gba four.gba text.txt header.gba
plain.gba: 1000 bytes, entry branch 2E 00 00 EA, target 192: no intro (standard entry branch)
game.gba: 1000 bytes, entry branch 94 00 00 EA, target 600: intro at offset 600, 400 bytes
broken.gba: 1000 bytes, entry branch F2 01 00 EA, target 2000: entry branch points past the end of the file
four.gba: 4 bytes, entry branch FF 00 00 EA, target 1028: entry branch points past the end of the file
text.txt: 13 bytes, first bytes 48 65 6C 6C: not a Game Boy Advance image (it does not begin with a branch instruction)
header.gba: 1000 bytes, entry branch 17 00 00 EA, target 100: no intro (the entry branch points inside the header)

# Info goes on after a failure, and never waits on a pipe
$ quillet-cli info short.gba missing.gba folder.gba pipe.gba /dev/zero other.gba
! quillet-cli: short.gba: Input file is too small!
! quillet-cli: missing.gba: Input file not found!
! quillet-cli: folder.gba: Input file could not be opened: Is a directory.
! quillet-cli: pipe.gba: Input file could not be opened: Not a regular file.
! quillet-cli: /dev/zero: Input file could not be opened: Not a regular file.
other.gba: 800 bytes, entry branch 62 00 00 EA, target 400: intro at offset 400, 400 bytes
? 3

# Help lists the commands, an example for each, and every exit status
$ quillet-cli --help | grep -E '^  (remove|add|info|[0-9]+) '
$ for command in remove add info; do quillet-cli $command --help | tail -1; done
  remove                      Take the intro off each IMAGE and write the result to a new file
  add                         Append the intro image INTRO to the game image GAME
  info                        Show each IMAGE's size, entry branch and whether it carries an intro
  0   every image succeeded
  1   Input file not found!
  2   Output file could not be written!
  3   Input file is too small!
  4   Input file could not be read!
  5   No intro found: the entry branch points past the end of the file!
  6   Input file is too large!
  64  usage error: nothing was touched
  65  refused: no intro to remove, no image, or the output would replace an image of the run
  74  standard output could not be written
  quillet-cli remove *.gba
  quillet-cli add game.gba intro.gba -o game-intro.gba
  quillet-cli info game.gba

# Version
$ quillet-cli --version
quillet-cli 1.00

# Usage errors touch nothing and say what is wrong
$ quillet-cli remove --fill 256 game.gba; quillet-cli remove --cut --fill 1 game.gba
$ quillet-cli remove -o o game.gba other.gba; quillet-cli add game.gba intro.gba other.gba
$ quillet-cli -q; quillet-cli frobnicate game.gba; quillet-cli remove -x.gba; quillet-cli info -y
$ quillet-cli add --fill 3 game.gba intro.gba
! quillet-cli: --fill: '256' is not a byte: give 0 to 255, or 0x00 to 0xFF
! Run 'quillet-cli --help' for the commands and their options.
! quillet-cli: --cut excludes --fill
! Run 'quillet-cli --help' for the commands and their options.
! quillet-cli: --output: takes a single IMAGE; without it each IMAGE gets its own output name
! Run 'quillet-cli --help' for the commands and their options.
! quillet-cli: add takes one GAME and one INTRO image; not expected: other.gba
! Run 'quillet-cli --help' for the commands and their options.
! quillet-cli: a command is required: remove, add or info
! Run 'quillet-cli --help' for the commands and their options.
! quillet-cli: unknown command 'frobnicate'; the commands are remove, add and info
! Run 'quillet-cli --help' for the commands and their options.
! quillet-cli: unknown option '-x.gba'. An image whose name begins with '-' is named as ./-x.gba, or after --: quillet-cli remove -- -x.gba
! Run 'quillet-cli --help' for the commands and their options.
! quillet-cli: unknown option '-y'. An image whose name begins with '-' is named as ./-y, or after --: quillet-cli info -- -y
! Run 'quillet-cli --help' for the commands and their options.
! quillet-cli: add does not take the option --fill
! Run 'quillet-cli --help' for the commands and their options.
? 64
