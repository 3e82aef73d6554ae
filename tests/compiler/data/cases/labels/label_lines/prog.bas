' a label on a line of its own marks the next line
start:
PRINT 1
Loop1: PRINT 2 : GOTO loop1
GOTO start : GOTO finish
   ' a comment after a label still leaves the label on its own
done: ' nothing here
GOSUB DONE
finish:
