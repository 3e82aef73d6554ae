PRINT 3
#bogus
#ifdef NO_CLOCK
PRINT 4
