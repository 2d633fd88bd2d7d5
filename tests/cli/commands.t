# quillet-cli as a user runs it, on Linux and, as quillet-cli.exe under Wine, on Windows; a case
# for one system only is marked [linux] or [windows]. Each case is run by sh in a fresh standard
# folder of test images (tests/engine/test_images.cpp), where quillet-cli is the built program,
# $SHIM the library that makes one of the engine's calls fail (tests/engine/fault_shim.c) and
# $AS_USER runs the rest of its line as an ordinary user. A case is:
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

# Removal fills the intro with 0xFF by default, cuts it off, or fills it with the byte given
$ quillet-cli remove game.gba && quillet-cli remove --cut -o o game.gba &&
$   quillet-cli remove --fill=0 other.gba
game.gba -> game-p.gba: intro filled with 0xFF from offset 600
game.gba -> o: intro removed, 600 bytes kept
other.gba -> other-p.gba: intro filled with 0x00 from offset 400
= game-p.gba <- fill FF game.gba
= o <- cut game.gba
= other-p.gba <- fill 00 other.gba

# A fill byte is 0 to 255 or 0x00 to 0xFF, and nothing else
$ for fill in 0255 0X7F 0x00fE; do quillet-cli -q remove --fill $fill -o $fill game.gba; done
$ for fill in 256 0x100 0x '' ' 1' '1 ' 1.0 0x-1 0b1 -1 99999999999999999999; do
$   quillet-cli remove --fill "$fill" game.gba 2>/dev/null; echo $?; done | uniq -c
     11 64
= 0255 <- fill FF game.gba
= 0X7F <- fill 7F game.gba
= 0x00fE <- fill FE game.gba

# A fill keeps an image whose branch points past its end or at it; a cut past the end fails
$ quillet-cli remove broken.gba && quillet-cli remove --cut whole.gba &&
$   quillet-cli remove --cut broken.gba
broken.gba -> broken-p.gba: entry branch restored, nothing behind offset 2000 to remove
whole.gba -> whole-p.gba: entry branch restored, nothing behind offset 1000 to remove
! quillet-cli: broken.gba -> broken-p.gba: No intro found: the entry branch points past the end of the file!
? 5
= broken-p.gba <- fill FF broken.gba
= whole-p.gba <- cut whole.gba

# Removal goes on after a failure and ends with the first failure's status
$ quillet-cli remove --cut game.gba short.gba missing.gba '' folder.gba other.gba
game.gba -> game-p.gba: intro removed, 600 bytes kept
! quillet-cli: short.gba -> short-p.gba: Input file is too small!
! quillet-cli: missing.gba -> missing-p.gba: Input file not found!
! quillet-cli:  -> -p: Input file not found!
! quillet-cli: folder.gba -> folder-p.gba: Input file could not be opened: Is a directory.
other.gba -> other-p.gba: intro removed, 400 bytes kept
? 3
= game-p.gba <- cut game.gba
= other-p.gba <- cut other.gba

# Pipes and devices are no images, even to info; a file shorter than its size is unread [linux]
$ quillet-cli info pipe.gba; echo $?; quillet-cli remove pipe.gba /dev/zero
$ quillet-cli remove -o o --force /sys/devices/system/cpu/on*
1
! quillet-cli: pipe.gba: Input file could not be opened: Not a regular file.
! quillet-cli: pipe.gba -> pipe-p.gba: Input file could not be opened: Not a regular file.
! quillet-cli: /dev/zero -> /dev/zero-p: Input file could not be opened: Not a regular file.
! quillet-cli: /sys/devices/system/cpu/online -> o: Input file could not be read!
? 4

# Inputs too large for an image are refused; info reads them
$ quillet-cli info huge.gba; quillet-cli remove huge.gba; quillet-cli add game.gba huge.gba
$ quillet-cli verify --dat dumps/list.dat huge.gba
huge.gba: 2147483648 bytes, entry branch 94 00 00 EA, target 600: intro at offset 600, 2147483048 bytes
! quillet-cli: huge.gba -> huge-p.gba: Input file is too large!
! quillet-cli: game.gba + huge.gba -> game-p.gba: Input file is too large!
! quillet-cli: huge.gba: Input file is too large!
? 6

# Removal refuses images it would ruin, unless forced
$ quillet-cli remove --cut plain.gba header.gba text.txt; echo $?
$ quillet-cli remove --force -o o plain.gba && quillet-cli remove --force text.txt
! quillet-cli: plain.gba -> plain-p.gba: No intro to remove: the entry branch is already the standard one. Give --force to process it anyway.
! quillet-cli: header.gba -> header-p.gba: No intro to remove: the entry branch points inside the header. Give --force to process it anyway.
! quillet-cli: text.txt -> text-p.txt: This is not a Game Boy Advance image: it does not begin with a branch instruction. Give --force to process it anyway.
65
plain.gba -> o: intro filled with 0xFF from offset 192
text.txt -> text-p.txt: entry branch restored, nothing behind offset 28415272 to remove
= o <- fill FF plain.gba
= text-p.txt <- fill FF text.txt

# Removal never writes over an input of the run, image or list, under any name, nor two outputs into one
$ ln game.gba hard.gba; for o in ./game.gba link.gba hard.gba; do quillet-cli remove -o $o game.gba
$ done; quillet-cli remove -o gone gone; cp other.gba game-p.gba; cp 'big game.gba' other-p.gba
$ quillet-cli remove game.gba game-p.gba other.gba other-p.gba; mkdir d && cp game.gba d
$ quillet-cli remove game.gba ./game.gba d/game.gba --output-dir folder.gba/; rm -r d
$ quillet-cli -q remove -o o game.gba ./game.gba; quillet-cli remove --dat dumps/list.dat -o dumps/../dumps/list.dat dumps/ff.gba
! quillet-cli: game.gba -> ./game.gba: The output file must not be the input file.
! quillet-cli: game.gba -> link.gba: The output file must not be the input file.
! quillet-cli: game.gba -> hard.gba: The output file must not be the input file.
! quillet-cli: gone -> gone: The output file must not be the input file.
! quillet-cli: game.gba -> game-p.gba: The output file would replace game-p.gba, an image of this run.
game-p.gba -> game-p-p.gba: intro filled with 0xFF from offset 400
./game.gba: the same image as game.gba, named before
! quillet-cli: other.gba -> other-p.gba: The output file would replace other-p.gba, an image of this run.
! quillet-cli: other-p.gba -> other-p-p.gba: This is not a Game Boy Advance image: it does not begin with a branch instruction. Give --force to process it anyway.
! quillet-cli: game.gba -> folder.gba/game.gba: The output file is also the output of d/game.gba.
! quillet-cli: d/game.gba -> folder.gba/game.gba: The output file is also the output of game.gba.
! quillet-cli: dumps/ff.gba -> dumps/../dumps/list.dat: The output file would replace dumps/list.dat, the list of this run.
? 65
= hard.gba <- game.gba
= game-p.gba <- other.gba
= game-p-p.gba <- fill FF other.gba
= other-p.gba <- big game.gba
= o <- fill FF game.gba

# An output that turns out to be another's, through a link that led nowhere, is refused
$ ln -s game-p.gba other-p.gba && quillet-cli remove game.gba other.gba game.gba
game.gba -> game-p.gba: intro filled with 0xFF from offset 600
! quillet-cli: other.gba -> other-p.gba: The output file is also the output of game.gba.
game.gba: the same image as game.gba, named before
? 65
= game-p.gba <- fill FF game.gba
= other-p.gba <- fill FF game.gba

# Any spelling of the input names the input, in any letter case [windows]
$ mkdir d && quillet-cli remove -o GAME.GBA game.gba; quillet-cli remove -o 'd\..\game.gba' game.gba
$ cp other.gba game-p.gba && cp game.gba d/GAME.GBA && quillet-cli remove game.gba GAME-P.GBA
$ quillet-cli remove game.gba d/GAME.GBA --output-dir folder.gba; rm -r d
$ quillet-cli info "$PWD/game.gba" | sed "s|$PWD|.|"
! quillet-cli: game.gba -> GAME.GBA: The output file must not be the input file.
! quillet-cli: game.gba -> d\..\game.gba: The output file must not be the input file.
! quillet-cli: game.gba -> game-p.gba: The output file would replace GAME-P.GBA, an image of this run.
GAME-P.GBA -> GAME-P-p.GBA: intro filled with 0xFF from offset 400
! quillet-cli: game.gba -> folder.gba\game.gba: The output file is also the output of d/GAME.GBA.
! quillet-cli: d/GAME.GBA -> folder.gba\GAME.GBA: The output file is also the output of game.gba.
= game-p.gba <- other.gba
./game.gba: 1000 bytes, entry branch 94 00 00 EA, target 600: intro at offset 600, 400 bytes
= GAME-P-p.GBA <- fill FF other.gba

# Outputs go into another folder under their images' own names, made when missing and written to
$ quillet-cli remove --output-dir new/dir/ game.gba && quillet-cli -q remove --output-dir new/q \
$   other.gba && quillet-cli add --output-dir=folder.gba/ other.gba intro.gba
$ mv new/dir/game.gba o && mv new/q/other.gba o2 && rmdir new/dir new/q new
$ quillet-cli remove --output-dir new/dir/ missing.gba
$ quillet-cli remove --output-dir game.gba/dir game.gba
new/dir/: folder made
game.gba -> new/dir/game.gba: intro filled with 0xFF from offset 600
other.gba + intro.gba -> folder.gba/other.gba: intro added
! quillet-cli: missing.gba -> new/dir/missing.gba: Input file not found!
! quillet-cli: game.gba/dir: Output folder could not be made: Not a directory.
? 2
= o <- fill FF game.gba
= o2 <- fill FF other.gba
= folder.gba/other.gba <- add other.gba + intro.gba

# A folder is made right under a drive's root, named in the system's own namespace [windows]
$ quillet-cli remove --output-dir '\\?\C:\new' game.gba; rm -r "$WINEPREFIX/drive_c/new"
\\?\C:\new: folder made
game.gba -> \\?\C:\new\game.gba: intro filled with 0xFF from offset 600

# A second run over its own results finds them done and writes nothing; another removal is refused
$ quillet-cli -q remove game.gba other.gba && quillet-cli remove game.gba game-p.gba other-p.gba \
$   other.gba; quillet-cli remove --cut game-p.gba game.gba
game.gba -> game-p.gba: already done, nothing written
game-p.gba: the result of game.gba, left as it is
other-p.gba: the result of other.gba, left as it is
other.gba -> other-p.gba: already done, nothing written
! quillet-cli: game-p.gba -> game-p-p.gba: No intro to remove: the entry branch is already the standard one. Give --force to process it anyway.
! quillet-cli: game.gba -> game-p.gba: The output file would replace game-p.gba, an image of this run.
? 65
= game-p.gba <- fill FF game.gba
= other-p.gba <- fill FF other.gba

# Quiet prints only failures, before or after the command; names are taken as they are, after --
$ quillet-cli --quiet remove game.gba x.gba; quillet-cli remove -q other.gba
$ cp game.gba ./-ポケモン.gba && quillet-cli remove --cut 'Pokémon Édition.gba' -- -ポケモン.gba
! quillet-cli: x.gba -> x-p.gba: Input file not found!
Pokémon Édition.gba -> Pokémon Édition-p.gba: intro removed, 600 bytes kept
-ポケモン.gba -> -ポケモン-p.gba: intro removed, 600 bytes kept
= game-p.gba <- fill FF game.gba
= other-p.gba <- fill FF other.gba
= -ポケモン.gba <- game.gba
= Pokémon Édition-p.gba <- cut Pokémon Édition.gba
= -ポケモン-p.gba <- cut game.gba

# Wildcards are expanded as Windows programs do; a pattern that matches nothing stays [windows]
$ quillet-cli remove --cut 'g*.gba'; quillet-cli remove 'z*.gba'
game.gba -> game-p.gba: intro removed, 600 bytes kept
! quillet-cli: z*.gba -> z*-p.gba: Input file not found!
? 1
= game-p.gba <- cut game.gba

# A killed run leaves nothing behind [windows]
$ cp game.gba big.gba && truncate -s 32M big.gba
$ (ulimit -f 1024; quillet-cli remove -o o big.gba); echo $?; rm big.gba
! File size limit exceeded
153

# A replaced file keeps its mode, a link to it stays; the new file is made beside the output [linux]
$ chmod 751 other.gba && quillet-cli -q remove --cut -o 'other link.gba' game.gba <&-
$ stat -c %a other.gba
$ d=$PWD && mkdir gone && cd gone && rmdir ../gone && quillet-cli -q remove -o "$d/o2" "$d/game.gba"
751
= other.gba <- cut game.gba
= o2 <- fill FF game.gba

# Without unnamed new files a named one serves; a call a signal cuts short is made again [linux]
$ QUILLET_NO_TMPFILE=1 LD_PRELOAD=$SHIM quillet-cli -q remove -o other.gba game.gba
$ umask 022 && QUILLET_NO_TMPFILE=1 LD_PRELOAD=$SHIM quillet-cli -q remove -o o game.gba
$ stat -c %a o
$ for call in read write; do QUILLET_FAULT=$call QUILLET_FAULT_ERRNO=4 LD_PRELOAD=$SHIM \
$   quillet-cli -q remove -o $call.gba game.gba; done
644
= other.gba <- fill FF game.gba
= o <- fill FF game.gba
= read.gba <- fill FF game.gba
= write.gba <- fill FF game.gba

# Without /proc, which gives an unnamed file its name, a named one serves [linux]
$ unshare -m true || exit 77
$ [ -z "$ASAN_OPTIONS" ] || { echo "a sanitizer's runtime needs /proc itself" >&2; exit 77; }
$ unshare -m sh -c 'umount -l /proc && quillet-cli -q remove -o o game.gba'
= o <- fill FF game.gba

# A failing call of the engine, in the library or remove --dat, or a kill while it writes, changes nothing [linux]
$ for fault in 'open 2' 'read 2' mmap 'open 3' fchmod write fsync linkat 'close 3' rename kill; do
$   m=$(QUILLET_FAULT=$fault LD_PRELOAD=$SHIM quillet-cli remove -o other.gba game.gba 2>&1)
$   echo "$? ${m#*other.gba: }"; done | uniq -c
$ for fault in 'open 3' write fsync rename; do for image in game.gba '--dat dumps/list.dat dumps/ff-trim.gba'
$   do QUILLET_NO_TMPFILE=1 QUILLET_FAULT=$fault LD_PRELOAD=$SHIM quillet-cli -q remove -o other.gba $image
$ done; done 2>&1 | sort | uniq -c
      1 1 Input file could not be opened: Input/output error.
      1 4 Input file could not be read: Input/output error.
      1 6 Input file is too large!
      7 2 Output file could not be written: Input/output error.
      1 137 
      4 quillet-cli: dumps/ff-trim.gba -> other.gba: Output file could not be written: Input/output error.
      4 quillet-cli: game.gba -> other.gba: Output file could not be written: Input/output error.
! Killed

# The new file is synced before it takes the output's name, then the name; none closed twice [linux]
$ export ASAN_OPTIONS=$ASAN_OPTIONS:detect_leaks=0  # a sanitizer's leak check fails under strace
$ strace -qq -Z -e trace=close quillet-cli -q remove -o o game.gba
$ strace -qq -y -e trace=fsync,rename quillet-cli -q remove -o o game.gba 2>&1 |
$   sed -E "s|$PWD|.|g; s/[0-9]{6,}/N/g; s/ +=/ =/; s/\([0-9]+</(</"
fsync(<./#N>(deleted)) = 0
rename(".quillet-N.tmp", "o") = 0
fsync(<.>) = 0
= o <- fill FF game.gba

# A write cut short by the file size limit leaves the output as it was [linux]
$ (trap '' XFSZ && ulimit -f 1 && quillet-cli remove -o other.gba game.gba); echo $?
! quillet-cli: game.gba -> other.gba: Output file could not be written: File too large.
2

# Outputs that cannot be written say why
$ quillet-cli remove -o no/o game.gba; quillet-cli add -o folder.gba game.gba intro.gba
$ quillet-cli remove --dat dumps/list.dat -o no/o dumps/00-pad.gba
! quillet-cli: game.gba -> no/o: Output file could not be written: No such file or directory.
! quillet-cli: game.gba + intro.gba -> folder.gba: Output file could not be written: Is a directory.
! quillet-cli: dumps/00-pad.gba -> no/o: Output file could not be written: No such file or directory.
? 2

# Pipes, devices, links that lead nowhere and names too long are never written to [linux]
$ for o in pipe.gba dangling.gba /dev/null $(printf %0300d 0); do
$   quillet-cli remove -o "$o" game.gba 2>&1 | grep -o 'Output.*'; done
Output file could not be written: Not a regular file.
Output file could not be written: No such file or directory.
Output file could not be written: Not a regular file.
Output file could not be written: File name too long.

# Devices, by any of their names, are neither read nor written, and nothing is left [windows]
$ for o in NUL nul.gba CON LPT1 prn.gba 'folder.gba\Com1.txt' CONIN$ '\\.\NUL' '\\?\NUL'; do
$   quillet-cli remove -o "$o" game.gba 2>&1 | grep -o 'Output.*'; done | uniq -c
$ quillet-cli remove CON
      9 Output file could not be written: Not a regular file.
! quillet-cli: CON -> CON-p: Input file could not be opened: Not a regular file.
? 1

# An ordinary user cannot read or replace a protected file, nor write in a read-only folder [linux]
$ chmod 777 . && chmod 000 plain.gba && chmod 444 other.gba
$ $AS_USER quillet-cli remove --force plain.gba; $AS_USER quillet-cli remove -o other.gba game.gba
$ chmod 555 . && $AS_USER quillet-cli remove game.gba
! quillet-cli: plain.gba -> plain-p.gba: Input file could not be opened: Permission denied.
! quillet-cli: game.gba -> other.gba: Output file could not be written: Permission denied.
! quillet-cli: game.gba -> game-p.gba: Output file could not be written: Permission denied.
? 2
= plain.gba <- plain.gba
= other.gba <- other.gba

# A reader that goes away stops nothing: every image is done, the failure told at the end [linux]
$ mkfifo ready && { read _ <ready; quillet-cli remove game.gba other.gba; echo $? >&2; } |
$   { exec <&-; echo >ready; }; rm ready
! quillet-cli: standard output could not be written: Broken pipe
! 74
= game-p.gba <- fill FF game.gba
= other-p.gba <- fill FF other.gba

# Adding never writes over an input, and reports the library's status
$ for o in intro.gba game.gba; do quillet-cli add -o $o game.gba intro.gba; echo $?; done
$ quillet-cli add game.gba 'tiny intro.gba'; quillet-cli add missing.gba intro.gba
! quillet-cli: game.gba + intro.gba -> intro.gba: The output file must not be the input file.
65
! quillet-cli: game.gba + intro.gba -> game.gba: The output file must not be the input file.
65
! quillet-cli: game.gba + tiny intro.gba -> game-p.gba: Input file is too small!
! quillet-cli: missing.gba + intro.gba -> missing-p.gba: Input file not found!
? 1

# Info tells each image's branch and what it makes of it, and goes on after a failure
$ quillet-cli info plain.gba game.gba broken.gba four.gba text.txt header.gba short.gba folder.gba
plain.gba: 1000 bytes, entry branch 2E 00 00 EA, target 192: no intro (standard entry branch)
game.gba: 1000 bytes, entry branch 94 00 00 EA, target 600: intro at offset 600, 400 bytes
broken.gba: 1000 bytes, entry branch F2 01 00 EA, target 2000: entry branch points past the end of the file
four.gba: 4 bytes, entry branch FF 00 00 EA, target 1028: entry branch points past the end of the file
text.txt: 13 bytes, first bytes 48 65 6C 6C: not a Game Boy Advance image (it does not begin with a branch instruction)
header.gba: 1000 bytes, entry branch 17 00 00 EA, target 100: no intro (the entry branch points inside the header)
! quillet-cli: short.gba: Input file is too small!
! quillet-cli: folder.gba: Input file could not be opened: Is a directory.
? 3

# Verify names the entry of each listed image, and for an unlisted one the dump that removal gives
$ quillet-cli verify --dat dumps/list.dat dumps/ff.gba dumps/00.gba dumps/full.gba dumps/ff-pad.gba \
$   dumps/past.gba game.gba; quillet-cli info --dat dumps/list.dat dumps/00-trim.gba plain.gba
dumps/ff.gba: listed as Quillet Demo (Europe).gba
dumps/00.gba: listed as qzero.gba, of Quillet Zéro (Japan)
dumps/full.gba: listed as Quillet & Friends (World).gba
! quillet-cli: dumps/ff-pad.gba: Not listed; remove --dat would give: intro filled with 0xFF from offset 768, listed as Quillet Demo (Europe).gba.
! quillet-cli: dumps/past.gba: Not listed; remove --dat would give: entry branch restored, nothing behind offset 1028 to remove, listed as Quillet Demo (Europe).gba.
! quillet-cli: game.gba: Not listed.
dumps/00-trim.gba: 740 bytes, entry branch 9E 00 00 EA, target 640: intro at offset 640, 100 bytes; not listed; remove --dat would give: intro removed, 640 bytes kept, padded with 0x00 to 1024 bytes, listed as qzero.gba, of Quillet Zéro (Japan)
plain.gba: 1000 bytes, entry branch 2E 00 00 EA, target 192: no intro (standard entry branch); not listed

# Removal by a list gives back the listed original byte for byte, however the intro was put in
$ quillet-cli remove --dat dumps/list.dat --output-dir folder.gba/ dumps/ff-pad.gba \
$   dumps/00-pad.gba dumps/ff-trim.gba dumps/00-trim.gba dumps/full-end.gba dumps/at-end.gba game.gba
dumps/ff-pad.gba -> folder.gba/ff-pad.gba: intro filled with 0xFF from offset 768, listed as Quillet Demo (Europe).gba
dumps/00-pad.gba -> folder.gba/00-pad.gba: intro filled with 0x00 from offset 768, listed as qzero.gba, of Quillet Zéro (Japan)
dumps/ff-trim.gba -> folder.gba/ff-trim.gba: intro removed, 700 bytes kept, padded with 0xFF to 1024 bytes, listed as Quillet Demo (Europe).gba
dumps/00-trim.gba -> folder.gba/00-trim.gba: intro removed, 640 bytes kept, padded with 0x00 to 1024 bytes, listed as qzero.gba, of Quillet Zéro (Japan)
dumps/full-end.gba -> folder.gba/full-end.gba: intro removed, 512 bytes kept, listed as Quillet & Friends (World).gba
dumps/at-end.gba -> folder.gba/at-end.gba: entry branch restored, nothing behind offset 700 to remove, padded with 0xFF to 1024 bytes, listed as Quillet Demo (Europe).gba
! quillet-cli: game.gba -> folder.gba/game.gba: No removal of its intro gives a dump that the list holds.
? 66
= folder.gba/ff-pad.gba <- dumps/ff.gba
= folder.gba/00-pad.gba <- dumps/00.gba
= folder.gba/ff-trim.gba <- dumps/ff.gba
= folder.gba/00-trim.gba <- dumps/00.gba
= folder.gba/full-end.gba <- dumps/full.gba
= folder.gba/at-end.gba <- dumps/ff.gba

# Renamed as listed, one dump once, a file of its name kept; refused: no file's name, two names or dumps
$ quillet-cli remove --dat dumps/list.dat --rename dumps/ff-pad.gba dumps/full-end.gba dumps/ff-trim.gba &&
$   quillet-cli remove --dat dumps/utf16.xml --rename dumps/full-end.gba dumps/*World*.gba
$ quillet-cli remove --dat dumps/text.dat --rename dumps/ff-trim.gba dumps/00-pad.gba dumps/full-end.gba \
$   dumps/ff-pad.gba game.gba other.gba whole.gba broken.gba four.gba dumps/kept.gba
dumps/ff-pad.gba -> dumps/Quillet Demo (Europe).gba: intro filled with 0xFF from offset 768, listed as Quillet Demo (Europe).gba
dumps/full-end.gba -> dumps/Quillet & Friends (World).gba: intro removed, 512 bytes kept, listed as Quillet & Friends (World).gba
dumps/ff-trim.gba -> dumps/Quillet Demo (Europe).gba: the same dump as dumps/ff-pad.gba gives, written already
dumps/full-end.gba -> dumps/Quillet & Friends (World).gba: already done, nothing written
dumps/Quillet & Friends (World).gba: the result of dumps/full-end.gba, left as it is
! quillet-cli: dumps/text.dat: 3 entries left out, for want of a name, a size or a hash, or for a malformed one
dumps/ff-trim.gba -> dumps/Quillet Demo (Europe).gba: already done, nothing written
! quillet-cli: dumps/00-pad.gba: The list names its dump 'Zero/qzero.gba', which is no file name: it holds a folder separator.
! quillet-cli: dumps/full-end.gba: The list names its dump 'Com1.gba', which is no file name: Windows takes it for a device.
! quillet-cli: dumps/ff-pad.gba: Removals give different listed dumps, which remove --dat does not choose between: intro filled with 0xFF from offset 768, listed as Quillet Demo (Europe).gba; intro filled with 0x00 from offset 768, listed as Quillet Demo (Beta).gba.
! quillet-cli: game.gba: The list names its dump '.', which is no file name: it names a folder.
! quillet-cli: other.gba: The list names its dump '..', which is no file name: it names a folder.
! quillet-cli: whole.gba: The list names its dump 'bell\x07.gba', which is no file name: it holds a control character.
! quillet-cli: broken.gba: The list names its dump 'CONIN$', which is no file name: Windows takes it for a device.
! quillet-cli: four.gba: The list names its dump in more than one way: listed as Four (A).gba, of Names and as Four (B).gba, of Names.
! quillet-cli: dumps/kept.gba -> dumps/00.gba: A file of that name is there already, with other contents, which --rename does not replace.
? 65
= dumps/Quillet & Friends (World).gba <- dumps/full.gba
= dumps/Quillet Demo (Europe).gba <- dumps/ff.gba

# A list that cannot be read or parsed is a usage error that names the file and the line
$ for list in dumps/bad.xml dumps/bad.dat missing.dat game.gba; do quillet-cli info --dat $list game.gba
$ done 2>&1 | sed 's/XML: .*/XML/'; quillet-cli remove --dat text.txt game.gba
quillet-cli: dumps/bad.xml:3: not well-formed XML
quillet-cli: dumps/bad.dat:1: this '(' is never closed
quillet-cli: missing.dat: the list could not be opened: No such file or directory.
quillet-cli: game.gba:1: '(' was expected after '\x94\x00\x00\xEA\xF1#QY\xC3\x7F#o\xABM\xA9\x03'
! quillet-cli: text.txt:1: '(' was expected after 'Hello,'
? 64

# A hash that libgcrypt will not compute fails its image, with the reason, in every command [linux]
$ export LIBGCRYPT_FORCE_FIPS_MODE=1; quillet-cli verify --dat dumps/list.dat dumps/ff.gba
$ quillet-cli info --dat dumps/list.dat dumps/ff.gba; quillet-cli remove --dat dumps/list.dat dumps/ff-pad.gba
! quillet-cli: dumps/ff.gba: MD5 could not be computed: Invalid digest algorithm.
! quillet-cli: dumps/ff.gba: MD5 could not be computed: Invalid digest algorithm.
! quillet-cli: dumps/ff-pad.gba -> dumps/ff-pad-p.gba: MD5 could not be computed: Invalid digest algorithm.
? 69

# Help lists the commands and every exit status
$ quillet-cli --help | grep -cE '^  (remove|verify|add|info|[0-9]+) '; quillet-cli --version
16
quillet-cli 1.00

# Usage errors touch nothing and say what is wrong, in the program's own words
$ { quillet-cli remove --fill 256 game.gba; quillet-cli remove --cut --fill 1 game.gba
$   quillet-cli remove --fill 1 --fill 2 game.gba; quillet-cli remove game.gba --fill -- --fill=2
$   quillet-cli remove -o o game.gba other.gba; quillet-cli remove -o '' game.gba
$   quillet-cli remove -o o --output-dir . game.gba; quillet-cli remove --output-dir game.gba x
$   quillet-cli add game.gba intro.gba other.gba -- plain.gba; quillet-cli add game.gba
$   quillet-cli info
$   quillet-cli -q; quillet-cli frobnicate game.gba; quillet-cli remove -x.gba; quillet-cli info -y
$   quillet-cli -- remove game.gba; quillet-cli remove -oo -op game.gba
$   quillet-cli add --fill 3 game.gba intro.gba; quillet-cli remove --dat dumps/list.dat --cut game.gba
$   quillet-cli remove --rename game.gba; quillet-cli verify game.gba; quillet-cli remove --dat '' game.gba
$ } 2>&1 | grep -v "^Run 'quillet-cli --help'"
$ quillet-cli remove; echo $?
quillet-cli: --fill: '256' is not a byte: give 0 to 255, or 0x00 to 0xFF
quillet-cli: --cut excludes --fill
quillet-cli: --fill may be given only once
quillet-cli: --fill needs a value
quillet-cli: --output: takes a single IMAGE; without it each IMAGE gets its own output name
quillet-cli: --output: no output file was named
quillet-cli: --output excludes --output-dir
quillet-cli: --output-dir: 'game.gba' is not a folder
quillet-cli: add takes one GAME and one INTRO image; not expected: other.gba plain.gba
quillet-cli: add needs a GAME and an INTRO image
quillet-cli: info needs at least one IMAGE
quillet-cli: a command is required: remove, verify, add or info
quillet-cli: unknown command 'frobnicate'; the commands are remove, verify, add and info
quillet-cli: unknown option '-x.gba'. An image whose name begins with '-' is named as ./-x.gba, or after --: quillet-cli remove -- -x.gba
quillet-cli: unknown option '-y'. An image whose name begins with '-' is named as ./-y, or after --: quillet-cli info -- -y
quillet-cli: a command is required: remove, verify, add or info
quillet-cli: --output may be given only once
quillet-cli: add does not take the option --fill
quillet-cli: --cut excludes --dat
quillet-cli: --rename requires --dat
quillet-cli: --dat is required
quillet-cli: --dat: no list was named
! quillet-cli: remove needs at least one IMAGE
! Run 'quillet-cli --help' for the commands and their options.
64
