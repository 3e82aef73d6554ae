#INCLUDE "common.bas"
BYTE count
start:
count = count + LIMIT
GOSUB blink
SOUND 440, 100
GOTO start
