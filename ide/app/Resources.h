#pragma once

// Makes the pictures compiled into the workspace library available
// (":/korvid/logo.png" for the About box; the start-up pictures are
// built in, see BuiltInImage.h); safe to call repeatedly.
void InitResources();
