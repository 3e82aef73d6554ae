' hello.bas - a first Velmo program.
'
' Compile it with:   velc hello.bas
' velc writes hello.hex (the program image for the module) and hello.lst
' (a readable listing) beside this file.
'
' A line that starts with an apostrophe is a comment. Statements follow
' below as the language grows; this program already compiles to the
' smallest image there is: just the end record.
