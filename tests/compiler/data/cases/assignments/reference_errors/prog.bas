BYTE a, b[2]
x = 1
a[1] = 2
b[1 = 3
INC 5
a = 
