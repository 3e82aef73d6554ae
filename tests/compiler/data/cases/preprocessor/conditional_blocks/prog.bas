' The option names are predefined macros.
#ifdef NO_CLOCK
PRINT "1"
#else
PRINT "2"
#endif
#ifndef NO_CLOCK
PRINT "3"
#else
PRINT "4"
#endif

#ifdef MISSING
#ifdef NO_CLOCK
PRINT "5"
#else
PRINT "6"
#endif
#anything inside a skipped block is neither executed nor checked
#include "nowhere"
PRINT "7"
#else
PRINT "8"
#endif
#Define Flag
#IFDEF flag
PRINT "9" ' a comment after code stays with its line
#EndIf
#undef FLAG
#ifdef Flag
PRINT "10"
#endif
#undef NO_CLOCK
#ifndef No_Clock
PRINT "11"
#endif
#define REAL_CLOCK "7" ' redefined
PRINT REAL_CLOCK
#ifdef UNDEFINED
#else
PRINT "12"
#else
PRINT "13"
#endif
