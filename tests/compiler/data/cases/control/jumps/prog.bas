BYTE k
ON k GOTO a, b, c
ON k + 1 GOSUB c
a: END
b:
c: RETURN
