#ifndef
#endif
#else
#endif
#target
#target FOO
#include lib
#include
#pragma once
# define X
#DEFINE Y(a, b)
#undef Y
#undef Y
