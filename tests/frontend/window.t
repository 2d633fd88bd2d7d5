# The window as a user meets it. Each case starts with a new window working in a fresh standard
# folder of test images (tests/engine/test_images.cpp). A case is:
#   # its name
#   > something done: click CONTROL, type BOX TEXT (with the focus
#     elsewhere), leave tab|window|popup (Text1 loses the focus to the window's next control,
#     another window or a popup), answer FILE (what the next file dialog chooses; nothing:
#     cancel), number TEXT (the manual fill number of TEXT), fail (a handler throws), or sh
#     COMMAND
#   CONTROL: what it shows then: "its text" on|off, its colour, shown|hidden, or for a button
#     "its caption" on|off, selected, shown|hidden; "library" is loaded or not, "application" its
#     name, version and how many icons, "captions" whether the window cuts any short, "number"
#     the last number or refused
#   ! a message box that came, in order; ? a question; & a file dialog, where it opened
#   = a file written <- what must be in it, as in tests/cli/commands.t
# $FOLDER is the working folder, $PROGRAM the test program's, $LIBDIR the library folder of an
# installation beside it, \n a line break. The system
# colours 0, 4 and 15 show as 101010, 404040 and f0f0f0. Every message box must be plain: titled
# quillet, no icon, one OK button without an icon, in the window's face. Any other dialog, file
# written or file changed fails the case.

# The library is loaded at the first removal that needs it, tried again until found, then kept
> sh rm -rf "$PROGRAM/libquillet.so.1" "$LIBDIR"
> type Text1 game.gba
> type Text3 game.gba
> click Command1
! The output file must not be the input file.
library: not loaded
> type Text3 game-p.gba
> click Command1
! The library libquillet.so.1 could not be loaded.\n\nIt was expected in $PROGRAM, but it is not there.
> sh echo not a library >"$PROGRAM/libquillet.so.1"
> click Command1
! The library libquillet.so.1 could not be loaded.\n\nIt was expected in $PROGRAM.\n\nCannot load library $PROGRAM/libquillet.so.1: ($PROGRAM/libquillet.so.1: file too short)
> sh rm "$PROGRAM/libquillet.so.1" && mkdir "$LIBDIR" && cp "$LACKING" "$LIBDIR/libquillet.so.1"
> click Command1
! The library $LIBDIR/libquillet.so.1 has no function RemoveIntroAuto.
library: not loaded
> sh cp "$LIBRARY" "$LIBDIR/libquillet.so.1"
> click Command1
! Done!
library: loaded
> sh mv "$LIBDIR/libquillet.so.1" moved.so && rm game-p.gba
> click Command1
! Done!
> sh mv moved.so "$LIBDIR/libquillet.so.1"
= game-p.gba <- fill FF game.gba

# A failure inside a handler is shown, and the program goes on
> fail
! the handler failed

# The window at start
application: quillet 1.00, 2 icons
captions: none clipped in Liberation Sans
Text1: "Original filename" on, ffffff, shown
Text2: "Intro filename" off, 404040, shown
Text3: "Output Filename" on, ffffff, shown
Text4: "8372224" off, 101010, shown
Text5: "32768" off, f0f0f0, shown
Text6: "0" off, 404040, shown
Command1: "Remove Intro" on, shown
Command2_1: "Browse" off, shown
Option1_1: "Remove Intro" on, selected, shown
Option2_0: "Remove from end of file" on, selected, shown
Option3_0: "Delete everything after intro address" on, selected, shown
Option4_1: "Fill in space covered with 0xFFs" on, selected, shown

# Add mode opens the intro's box and button, hides the extent group, and changes captions
> click Option1_0
Text2: "Intro filename" on, ffffff, shown
Text5: "32768" off, f0f0f0, hidden
Frame2: hidden
Command1: "Add Intro" on, shown
Command2_1: "Browse" on, shown
Option2_0: "Add from end of file" on, selected, shown
Option2_1: "Add intro at address:" on, shown
Text1: "Original filename" on, ffffff, shown
Text3: "Original filename-p" on, ffffff, shown
> click Option1_1
Text2: "Intro filename" off, 101010, shown
Text5: "32768" off, f0f0f0, shown
Frame2: shown
Command1: "Remove Intro" on, shown
Command2_1: "Browse" off, shown
Option2_0: "Remove from end of file" on, selected, shown
Option2_1: "Remove intro at address:" on, shown

# The extent group keeps its choice through add mode
> click Option3_1
Text5: "32768" on, ffffff, shown
> click Option1_0
> click Option1_1
Text5: "32768" on, ffffff, shown
Option3_1: "Number of bytes to delete:" on, selected, shown
> click Option3_0
Text5: "32768" off, 101010, shown

# An address opens its box, and the end of the file closes it
> click Option2_1
Text4: "8372224" on, ffffff, shown
Text2: "Intro filename" off, 404040, shown
> click Option2_0
Text4: "8372224" off, 101010, shown

# Only a fill by hand opens its box
> click Option4_2
Text6: "0" on, ffffff, shown
> click Option4_0
Text6: "0" off, 101010, shown
> click Option4_2
> click Option4_1
Text6: "0" off, 101010, shown

# Leaving the input box for another control derives the output name
> type Text1 C:\my.roms\game.eu.gba
> leave tab
Text3: "C:\my.roms\game-p.eu.gba" on, ffffff, shown
> type Text1 a.b/c
> leave tab
Text3: "a.b/c-p" on, ffffff, shown
> type Text1
> leave tab
Text3: "-p" on, ffffff, shown
> type Text1 .gba
> leave tab
Text3: "-p.gba" on, ffffff, shown

# Another window or a popup taking the focus derives nothing
> type Text3 kept.gba
> leave window
> leave popup
Text3: "kept.gba" on, ffffff, shown

# The browse buttons open on the file in their box and fill it; a cancel leaves it as it was
> click Command2_0
& open an existing file in ., nothing selected
Text1: "Original filename" on, ffffff, shown
Text3: "Original filename-p" on, ffffff, shown
> answer $FOLDER/game.gba
> click Command2_0
& open an existing file in ., nothing selected
Text1: "$FOLDER/game.gba" on, ffffff, shown
Text3: "$FOLDER/game-p.gba" on, ffffff, shown
> answer
> click Command2_2
& save any file in ., nothing selected
Text3: "$FOLDER/game-p.gba" on, ffffff, shown
> answer $FOLDER/other.gba
> click Command2_2
& save any file in ., nothing selected
? other.gba already exists.\nDo you want to replace it?
Text3: "$FOLDER/other.gba" on, ffffff, shown
> answer
> click Command2_0
& open an existing file in ., game.gba
Text1: "$FOLDER/game.gba" on, ffffff, shown
Text3: "$FOLDER/game-p.gba" on, ffffff, shown
> click Option1_0
> answer $FOLDER/intro.gba
> click Command2_1
& open an existing file in ., nothing selected
Text2: "$FOLDER/intro.gba" on, ffffff, shown

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

# The remove command fills with 0xFF by default, whatever Text6 holds
> type Text1 game.gba
> type Text3 Pokémon Édition-p.gba
> type Text6 not read
> click Command1
! Done!
= Pokémon Édition-p.gba <- fill FF game.gba

# The remove command cuts, or fills with the number typed
> type Text1 game.gba
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
= o <- cut game.gba
= o2 <- fill 10 game.gba

# The remove command never writes over its input, nor an image it would ruin
> type Text1 game.gba
> type Text3 ./game.gba
> click Command1
! The output file must not be the input file.
> type Text3 o
> type Text1 text.txt
> click Command1
! This is not a Game Boy Advance image: it does not begin with a branch instruction.

# The remove command passes the boxes' texts as they stand, and says why the library failed
> click Command1
! Input file not found!
> type Text1 folder.gba
> type Text3 o
> click Command1
! Input file could not be opened: Is a directory.
> type Text1 broken.gba
> click Option4_0
> click Command1
! No intro found: the entry branch points past the end of the file!

# The manual fill number is the number a text begins with, rounded, within 16 bits
> number 0
number: 0
> number 255
number: 255
> number
number: 0
> number abc
number: 0
> number -1
number: -1
> number +7
number: 7
> number  \t 12
number: 12
> number 12abc
number: 12
> number 1 2
number: 1
> number 0x10
number: 16
> number 0XfF
number: 255
> number -0x10
number: -16
> number 0x
number: 0
> number 0x1g
number: 1
> number 0xA
number: 10
> number 0x0F
number: 15
> number 5.
number: 5
> number .e9
number: 0
> number .00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000001e40
number: 0
> number 2.5
number: 2
> number 3.5
number: 4
> number -0.5
number: 0
> number 2.51
number: 3
> number .75
number: 1
> number .
number: 0
> number 1e3
number: 1000
> number 25E-1
number: 2
> number 7e
number: 7
> number 32767
number: 32767
> number -32768
number: -32768
> number -32768.5
number: -32768
> number 1e-400
number: 0
> number -1e-400
number: 0
> number 0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000001
number: 0
> number 1e-99999999999999999999999
number: 0
> number 32768
number: refused
> number 32767.5
number: refused
> number -32769
number: refused
> number 0x8000
number: refused
> number 1e400
number: refused
> number .5e400
number: refused
> number 1e99999999999999999999999
number: refused
> number 9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999
number: refused
