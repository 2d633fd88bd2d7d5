# The window as a user meets it, in Qt (tests/frontend/qt_transcript.cpp) and in Win32 under Wine
# (tests/windows/win32_transcript.cpp). Each case starts with a new window working in a fresh
# standard folder of test images (tests/engine/test_images.cpp); a case for one toolkit only is
# marked [qt] or [win32]. A case is:
#   # its name
#   > something done: click CONTROL, type BOX TEXT (with the focus elsewhere), leave
#     tab|window|popup (Text1 loses the focus to the window's next control, another window or a
#     popup), press enter|space|down|up CONTROL, answer FILE (what the next file dialog chooses;
#     nothing: cancel), drop FILE or drop text TEXT (dragged alone), fail (a handler throws); or
#     remove PATH, copy FROM TO, move FROM TO
#   CONTROL: what it shows then: "its text" on|off, its colour, shown|hidden, or for a button
#     "its caption" on|off, selected, shown|hidden; "library" is loaded or not, "application" its
#     name, version and how many icons, "client area" its size in pixels at 96 dpi, "cursor"
#     busy or normal, "captions" whether the window cuts any short (Qt only: Windows' fonts are
#     the system's), "tab order" the controls that Tab visits from Text1
#   ! a message box that came, in order; ? replace: the toolkit's question before a file is
#     replaced; & a file dialog: open or save, the folder it opened in, the file it named
#   = a file written <- what must be in it, as in tests/cli/commands.t
#   $ a shell session instead, as in tests/cli/commands.t
# $FOLDER is the working folder, $PROGRAM the test program's, $LIBNAME the library's name,
# $LIBRARY the library, $LACKING one without its functions, $LIBDIR the library folder of an
# installation beside the program, \n a line break. The system colours 0, 4 and 15 show as
# 101010, 404040 and f0f0f0. Every message box must be plain: titled quillet, no icon, one OK
# button without an icon. Any other dialog, file written or file changed fails the case.

# The library is loaded at the first removal that needs it, tried until found, then kept [qt]
> remove $PROGRAM/$LIBNAME
> remove $LIBDIR
> type Text1 game.gba
> type Text3 game-p.gba
> click Command1
! The library $LIBNAME could not be loaded.\n\nIt was expected in $PROGRAM, but it is not there.
> copy text.txt $PROGRAM/$LIBNAME
> click Command1
! The library $LIBNAME could not be loaded.\n\nIt was expected in $PROGRAM.\n\nCannot load library $PROGRAM/$LIBNAME: ($PROGRAM/$LIBNAME: file too short)
> remove $PROGRAM/$LIBNAME
> copy $LACKING $LIBDIR/$LIBNAME
> click Command1
! The library $LIBDIR/$LIBNAME has no function RemoveIntroAuto.
library: not loaded
> copy $LIBRARY $LIBDIR/$LIBNAME
> click Command1
! Done!
library: loaded
> remove $LIBDIR
> click Command1
! Done!
= game-p.gba <- fill FF game.gba

# The library is loaded at the first removal that needs it, tried until found, then kept [win32]
> remove $PROGRAM/$LIBNAME
> copy $LIBRARY $LIBNAME
> type Text1 game.gba
> type Text3 game-p.gba
> click Command1
! The library $LIBNAME could not be loaded.\n\nIt was expected in $PROGRAM, but it is not there.
> remove $LIBNAME
> copy $LACKING $PROGRAM/$LIBNAME
> click Command1
! The library $PROGRAM/$LIBNAME has no function RemoveIntroAuto.
library: not loaded
> copy $LIBRARY $PROGRAM/$LIBNAME
> click Command1
! Done!
library: loaded
= game-p.gba <- fill FF game.gba

# A failure inside a handler is shown, and the program goes on [qt]
> fail
! the handler failed

# The window at start, in the stored size and tab order
client area: 278x336
Text3: "Output Filename" on, ffffff, shown
Text4: "8372224" off, 101010, shown
Text5: "32768" off, f0f0f0, shown
Text6: "0" off, 404040, shown
Command1: "Remove Intro" on, shown
Command2_1: "Browse" off, shown
tab order: Text1 Command1 Text3 Option1_1 Option2_0 Option3_0 Command2_0 Command2_2 Option4_1

# Every caption fits, in the embedded font; the program's name, version and icons [qt]
captions: none clipped in Liberation Sans
application: quillet 1.00, 2 icons

# Add mode opens the intro's box and button, hides the extent group, and changes captions
> click Option3_1
> click Option1_0
Text2: "Intro filename" on, ffffff, shown
Text5: "32768" on, ffffff, hidden
Frame2: hidden
Command1: "Add Intro" on, shown
Command2_1: "Browse" on, shown
Option2_0: "Add from end of file" on, selected, shown
Option2_1: "Add intro at address:" on, shown
Text3: "Original filename-p" on, ffffff, shown
> click Option1_1
Text2: "Intro filename" off, 101010, shown
Text5: "32768" on, ffffff, shown
Frame2: shown
Option2_1: "Remove intro at address:" on, shown
Option3_1: "Number of bytes to delete:" on, selected, shown
> click Option3_0
Text5: "32768" off, 101010, shown

# Each value box opens with its option only
> click Option2_1
> click Option4_2
Text4: "8372224" on, ffffff, shown
Text6: "0" on, ffffff, shown
tab order: Text1 Command1 Text3 Option1_1 Option2_1 Text4 Option3_0 Command2_0 Command2_2 Option4_2 Text6
Text2: "Intro filename" off, 404040, shown
> click Option2_0
> click Option4_0
Text4: "8372224" off, 101010, shown
Text6: "0" off, 101010, shown
> click Option4_2
> click Option4_1
Text6: "0" off, 101010, shown

# Leaving the input box for another control derives the output name, and nothing else does
> type Text1 C:\my.roms\game.eu.gba
> leave tab
Text3: "C:\my.roms\game-p.eu.gba" on, ffffff, shown
> type Text1 .hidden/game
> leave tab
Text3: ".hidden/game-p" on, ffffff, shown
> type Text1
> leave tab
Text3: "-p" on, ffffff, shown
> type Text3 kept.gba
> leave window
> leave popup
Text3: "kept.gba" on, ffffff, shown

# The browse buttons open on the file in their box and fill it; a cancel leaves it as it was
> click Command2_0
& open in ., nothing named
Text1: "Original filename" on, ffffff, shown
Text3: "Original filename-p" on, ffffff, shown
> answer $FOLDER/game.gba
> click Command2_0
& open in ., nothing named
Text3: "$FOLDER/game-p.gba" on, ffffff, shown
> answer
> click Command2_2
& save in ., game-p.gba
Text3: "$FOLDER/game-p.gba" on, ffffff, shown
> answer $FOLDER/other.gba
> click Command2_2
& save in ., game-p.gba
? replace
Text3: "$FOLDER/other.gba" on, ffffff, shown
> answer
> click Command2_0
& open in ., game.gba
Text1: "$FOLDER/game.gba" on, ffffff, shown
> click Option1_0
> answer $FOLDER/intro.gba
> click Command2_1
& open in ., nothing named
Text2: "$FOLDER/intro.gba" on, ffffff, shown

# A file dropped on the window, a box included, opens as with the first Browse button
> drop game.gba
Text1: "$FOLDER/game.gba" on, ffffff, shown
Text3: "$FOLDER/game-p.gba" on, ffffff, shown

# Text dragged onto the window names no file and changes nothing [qt]
> drop text game.gba
Text1: "Original filename" on, ffffff, shown

# Enter and Space press the button that has the focus; an arrow key chooses within a group, around
> press enter Command2_2
& save in ., Original filename-p
> press space Command1
! Input file not found!
> press down Option4_1
Option4_2: "Fill in space covered manually: " on, selected, shown
Text6: "0" on, ffffff, shown
> press down Option4_2
Option4_0: "Don't fill in space covered with intros" on, selected, shown
> press up Option4_0
Text6: "0" on, ffffff, shown

# The remove command refuses what it cannot do, add mode first, then the position, then the extent
> type Text1 game.gba
> type Text3 o
> click Option2_1
> click Option3_1
> click Option1_0
> click Command1
! Sorry, adding an intro is not supported yet!
> click Option1_1
> click Command1
! Sorry, only removing intros from the end of the file is currently supported.
> click Option2_0
> click Command1
! Sorry, only deleting everything from the start of the intro to the end of the file is currently supported.

# The remove command fills with 0xFF by default, whatever Text6 holds, cuts, or fills by hand
> type Text1 game.gba
> type Text3 Pokémon Édition-p.gba
> type Text6 not read
> click Command1
! Done!
cursor: normal
> type Text3 o
> click Option4_0
> click Command1
! Done!
> type Text3 o2
> click Option4_2
> type Text6  0x10 apples
> click Command1
! Done!
> type Text6 32767.5
> click Command1
! The fill value must be a whole number from -32768 to 32767.
= Pokémon Édition-p.gba <- fill FF game.gba
= o <- cut game.gba
= o2 <- fill 10 game.gba

# The remove command refuses its input as output, a ruinous image or no output, and says why
> type Text1 game.gba
> type Text3 ./game.gba
> click Command1
! The output file must not be the input file.
> type Text3
> click Command1
! No output file was named.
> type Text3 o
> type Text1 text.txt
> click Command1
! This is not a Game Boy Advance image: it does not begin with a branch instruction.
> type Text1 folder.gba
> click Command1
! Input file could not be opened: Is a directory.

# A device is no output, by a reserved name in any folder and with any extension [win32]
> type Text1 game.gba
> type Text3 $FOLDER/nul.gba
> click Command1
! Output file could not be written: Not a regular file.

# The program opens the window with the image it is given, and answers --help and --version [linux]
$ quillet --version && quillet --help | head -1; quillet game.gba other.gba 2>&1 | grep one
$ quillet game.gba other.gba 2>/dev/null || echo $?
$ QT_QPA_PLATFORM=xcb timeout 60 xvfb-run -a -s '-screen 0 800x600x24' sh -c '
$   quillet game.gba 2>/dev/null &
$   w=$(xdotool search --sync --onlyvisible --name "^Quillet$") && xdotool getwindowgeometry $w |
$   tail -1 && xdotool windowfocus --sync $w key Tab Return
$   until [ -e game-p.gba ]; do sleep 0.1; done; kill $!' | grep Geometry
quillet 1.00
Usage: quillet [options] [image]
quillet: only one image can be opened; run 'quillet --help' for the options
2
  Geometry: 278x336
= game-p.gba <- fill FF game.gba
