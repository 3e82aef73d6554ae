BYTE count
' a label and a variable may share a name
count: count = count + 1 : IF count < 10 GOTO COUNT
Include:
x1:
END
GOTO include : GOTO X1
