' read_sensors: averages a few readings of the temperature and humidity
' inputs.
#define SCALE(v, k) (v) * k / 1024

read_sensors:
  sum = 0
  FOR i = 1 TO READINGS
    sum = sum + ADC1
  NEXT
  temperature = SCALE(sum / READINGS, 165) - 40
  humidity = SCALE(ADC2, 100)
#ifdef DEBUG
  PRINT #CONSOLE, "read ", READINGS, " values", CR, NL
#endif
RETURN
