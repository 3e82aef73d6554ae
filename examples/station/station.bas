' station.bas - a small weather station, split over several files.
'
' config.bas holds the settings and the variables; the subroutines live in
' lib/. Each file is included once; names defined with #DEFINE in one file
' are known in every file included after it.
'
' Compile it with:   velc station/station.bas
' Define DEBUG in config.bas to get a trace on the console.

#include "config"

SETCOM CONSOLE, 9600
SETCLOCK REAL_CLOCK
#ifdef USE_RADIO
SETNETWORK NET_RADIO
#else
SETNETWORK NET_RS485, 19200
#endif

DO
  GOSUB read_sensors
  GOSUB send_report
  PAUSE SAMPLE_PERIOD
LOOP

#include "lib\sensors"
#include "lib\report"
