' Messages quote source text; the output stays UTF-8 so the paths in it
' keep their meaning.
#include "dé/lib"
BYTE "naïve"
