#include "Resources.h"

#include <QtGlobal>

static void InitKorvidResources()
{
    Q_INIT_RESOURCE(Korvid);
}

void InitResources()
{
    static const bool done = (InitKorvidResources(), true);
    Q_UNUSED(done);
}
