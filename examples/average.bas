' average.bas - the average of a few measurements, worked out in
' subroutines: an example to watch in the debugger.
'
' In Korvid, with the simulated module as the device: put the cursor on
' the line "average = total / count" and press F2 (a breakpoint), F5 starts
' debugging, F6 steps. The Variables window shows the numbers, the text and
' the array, the Call Stack window the open GOSUB. The second report has no
' samples: F8 runs on into a division by zero, a runtime error that opens
' its line.

#define READINGS 5                ' readings per report, the length of samples

INTEGER samples[5]
BYTE count, i
LONG total
FLOAT average
CHAR label[8]

label = "ADC0"
count = READINGS
GOSUB measure
GOSUB report
count = 0                         ' no samples this time
GOSUB report
END

' Fills the array with count readings of ADC0 and adds them up.
measure:
  total = 0
  FOR i = 1 TO count
    samples[i - 1] = ADC0
    total = total + samples[i - 1]
    PAUSE 20
  NEXT
  RETURN

' Prints the average of the readings.
report:
  average = total / count
  PRINT label, ": ", count, " samples, average ", average
  RETURN
