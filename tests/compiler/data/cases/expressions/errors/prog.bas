BYTE a, b
a = a > b
a = "AB"
a = ""
a = * 2
a = (a + 1
a = SPEED
a = HOUR
