' cursor.bas - a clock at a fixed place of the console.
'
' The console moves its cursor on ESC, "P", then one byte for the row and
' one for the column, each 48 ("0") plus a number counted from 0. CHR(12)
' clears the console. A "," at the end of PRINT sends no line end.

#define ESC 27
#define FORMFEED 12
#define AT(row, col) CHR(ESC), "P", CHR(48 + row), CHR(48 + col)

PRINT CHR(FORMFEED), AT(0, 0), "Velmo clock",
DO
  PRINT AT(2, 4), USING("00", TIME.HOUR), ":", USING("00", TIME.MINUTE), ":", USING("00", TIME.SECOND),
  PAUSE 500
LOOP
