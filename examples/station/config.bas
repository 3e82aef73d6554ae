' Settings and variables of the weather station.
#target ZENTRA16

#define CONSOLE 1                 ' serial channel of the console
#define SAMPLE_PERIOD 5000        ' milliseconds between two reports
#define READINGS 4                ' readings averaged per report
#define DEBUG

INTEGER temperature, humidity
LONG sum
BYTE i
