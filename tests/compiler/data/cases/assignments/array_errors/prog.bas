BYTE b[5]
CHAR s[5]
WORD w[2]
b = "abcdef"
s = "abcde"
w = "ab"
w = [1, 2, 3]
w = 5
b = []
