' Included from the main file; its macros stay defined.
#define FIRST_VALUE "2"
PRINT "10"
#include "sub\nested"
PRINT "11"
