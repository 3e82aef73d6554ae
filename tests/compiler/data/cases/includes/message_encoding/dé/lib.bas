BYTE "café"
#include "ansi"
