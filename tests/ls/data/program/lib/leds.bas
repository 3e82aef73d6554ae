BYTE led
led = 1
