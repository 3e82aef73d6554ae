BYTE x, y
IF x > 1 THEN ' a comment after THEN: block IF
  y = 1
ELSIF (x = 1) AND (y = 2) THEN
  y = 2
ELSE
  y = 3
ENDIF
IF x THEN y = 4 : PRINT y
IF x GOTO done
IF x THEN GOTO done
IF x GOSUB done
DO
  IF x EXIT
  IF x THEN EXIT
LOOP
done: IF x RETURN
