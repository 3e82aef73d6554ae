BYTE a, b, c
a = a + b * c - 1 / 2 MOD 3
a = a OR b | c XOR 1 ^ 2
a = a AND b & c << 1 >> 2
a = (a = b) + (a <> b) + (a < b) + (a > b) + (a <= b) + (a >= b)
a = --5 + +5 - NOT 0 * ~a
a = "A" + " " + 3.10 + 3.0 + 12.50 + 0.25
a = 32767 + 32768 + $FFFF + %101
a = ((a))
