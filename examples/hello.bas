' hello.bas - a first Velmo program.
'
' Compile it with:   velc hello.bas
' velc writes hello.hex (the program image for the module) and hello.lst
' (a readable listing) beside this file. Lines that start with an
' apostrophe are comments.

BYTE i

FOR i = 1 TO 10
  PRINT "Hello from Velmo! ", i
NEXT
END
