' talk.bas - asks for a name and a number on the console and answers.
'
' INPUT shows its prompt and waits for a line typed in the console (Enter
' ends it). An empty name ends the talk.

CHAR name[21]
INTEGER number

PRINT "Let's talk."
DO
  INPUT "Your name? ", name
  IF LEN(name) = 0 THEN EXIT
  INPUT "A number? ", number
  PRINT "Hello ", name, "! Twice ", number, " is ", 2 * number, "."
LOOP
PRINT "Bye."
