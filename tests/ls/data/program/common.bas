' Shared declarations of the test program
#DEFINE LIMIT 5
INTEGER total
#INCLUDE "lib/leds.bas"
blink:
total = total + 1
RETURN
