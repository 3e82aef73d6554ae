' part of the program

PRINT 2
PRINT 2 3
#include "deeper"
PRINT 2
PRINT )
