' lengths beyond the scanner's integer are reported, never wrap into range
BYTE y[$7FFFFFFF]
BYTE z[99999999999]
BYTE w[$100000001]
BYTE v[4294967297]
