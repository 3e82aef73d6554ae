one: two: PRINT 1
GOTO two
IF: PRINT 2
