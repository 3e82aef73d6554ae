BYTE x
WHILE x < 10
  INC x
WEND
WHILE (x > 1) AND (x < 3) : WEND
