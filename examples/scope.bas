' scope.bas - plots the module's four test inputs on the scope.
'
' Every PRINT sends one sample per channel: "#", the channel digit and the
' value; the next "#" (or the line end) closes a sample. Download it and
' open the Scope tab: channels 0 to 3 show the inputs ADC0 to ADC3 (on the
' simulated module: a sine, a triangle, a sawtooth and a fast sine).

#define PERIOD 50                 ' milliseconds between two sets of samples

DO
  PRINT "#0", ADC0, "#1", ADC1, "#2", ADC2, "#3", ADC3
  PAUSE PERIOD
LOOP
