BYTE i, j
FOR i = 1 TO 3: PRINT i: NEXT
FOR i = 10 TO 0 STEP -2
  FOR j = 1 TO i + 1
  NEXT
NEXT
FOR j = i TO 3 STEP i * 2 : NEXT
