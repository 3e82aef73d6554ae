BYTE a, b, c, d, e
FOR a = 1 TO 2
 WHILE a
  FOR b = 1 TO 2
   FOR c = 1 TO 2
    FOR d = 1 TO 2
     FOR e = 1 TO 2
     NEXT
    NEXT
   NEXT
  NEXT
 WEND
NEXT
