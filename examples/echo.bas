' echo.bas - sends every byte that arrives on serial channel 1 back to
' where it came from, and counts them.

#define CHANNEL 1
#define TIMEOUT 1000              ' milliseconds to wait for a byte

BYTE c
WORD count

SETCOM CHANNEL, 9600
PRINT #CHANNEL, "Echo ready.", CR, NL
count = 0
DO
  GET #CHANNEL, c, 1, TIMEOUT
  IF ERR = 0 THEN
    PUT #CHANNEL, c
    INC count
  ENDIF
LOOP
