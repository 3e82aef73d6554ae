' Errors are reported in the file and at the line they stand on.

#include "lib/part"

PRINT (1
PRINT 1
