BYTE x
IF x THEN
  FOR x = 1 TO 3
WHILE x
DO
  ' the blocks are reported innermost first, each at its opening line
