' blink.bas - blinks the LED on bit 0 of port 1, twice a second.
'
' Compile it with:   velc blink.bas
' and download blink.hex into the module.

#define LED PORT1.0
#define HALF_PERIOD 250           ' milliseconds

SETPORT 1, $01                    ' bit 0 of port 1 is an output
DO
  LED = 1
  PAUSE HALF_PERIOD
  LED = 0
  PAUSE HALF_PERIOD
LOOP
