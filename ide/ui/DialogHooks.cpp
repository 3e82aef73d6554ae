#include "DialogHooks.h"

namespace {

// The hooks of the state object that lives; none outside its life.
const TDialogHooks *g_hooksInUse = nullptr;

} // namespace

const TDialogHooks &DialogHooks()
{
    static const TDialogHooks none;
    return g_hooksInUse ? *g_hooksInUse : none;
}

TDialogHooksInUse::TDialogHooksInUse(const TDialogHooks &hooks)
    : m_hooks(&hooks)
    , m_previous(g_hooksInUse)
{
    g_hooksInUse = &hooks;
}

// Hooks put in force later stay so.
TDialogHooksInUse::~TDialogHooksInUse()
{
    if (g_hooksInUse == m_hooks)
        g_hooksInUse = m_previous;
}
