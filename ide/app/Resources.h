#pragma once

// Makes the pictures compiled into the workspace library available
// (":/korvid/splash.jpg", ":/korvid/logo.png"); safe to call repeatedly.
void InitResources();
