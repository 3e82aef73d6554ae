' Blocks left open in an included file are reported in that file, at the
' lines that opened them, although the program goes on in this file.
BYTE x
#INCLUDE "opens"
PRINT x
PRINT x + 1
WHILE x
