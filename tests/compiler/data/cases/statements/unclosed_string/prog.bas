BYTE "unclosed
PRINT "no end
BYTE b "x
