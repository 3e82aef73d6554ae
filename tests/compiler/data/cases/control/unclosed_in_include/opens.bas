' opens blocks and never closes them

IF x THEN
  PRINT 1
  FOR x = 1 TO 2
