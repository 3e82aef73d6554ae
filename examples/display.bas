' display.bas - a clock and a level meter on a 128x64 graphic display.
'
' The display type, its interface, the clock and the keypad are selected
' with the option names that every program knows (LCD_DOGM128X64,
' SERIAL_SPI, REAL_CLOCK, PHONE_3X4 and the others).

#define WIDTH 128
#define HEIGHT 64
#define BAR_TOP(h) HEIGHT - h - 4

BYTE level

SETDISPLAY LCD_DOGM128X64, SERIAL_SPI
SETCLOCK REAL_CLOCK
SETKEYPAD PHONE_3X4

CLS
FONT 1
COLOR 1, 0
FRAME 0, 0, WIDTH - 1, HEIGHT - 1
DO
  MOVE 4, 4
  PRINT USING("##", TIME.HOUR), ":", USING("##", TIME.MINUTE), ":", USING("##", TIME.SECOND)
  level = ADC0 / 8
  BARGRAPH 4, BAR_TOP(12), WIDTH - 8, 12, level, 0
  IF KEYCODE = 10 THEN CLS
  PAUSE 200
LOOP
