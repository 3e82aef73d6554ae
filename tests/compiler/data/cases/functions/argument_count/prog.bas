FLOAT x
x = SIN 1
x = POW(1)
x = MIN(1, 2, 3)
x = ABS()
