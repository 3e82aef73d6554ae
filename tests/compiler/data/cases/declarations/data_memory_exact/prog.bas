' 4 * 255 + 4 = 1024 bytes, the whole data memory of the default target
LONG a[255]
FLOAT f
