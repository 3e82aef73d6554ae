BYTE a, b[4]
CHAR s[5]
WORD w[3]
a = 1
b[a + 1] = a
b = "abcd"
s = "abcd"
s = ""
w = [1, 2, a]
w = [7]
INC a : DEC b[2]
