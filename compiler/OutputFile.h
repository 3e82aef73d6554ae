// Writes a whole output file so that a failure never leaves a file that
// looks complete: the text goes to a temporary file beside the target, which
// is renamed over the target only after every byte has been written. On
// failure the temporary file is removed, and so is an older file of the
// target's name, which would otherwise pass for the result of this build.
#pragma once

#include <string>

bool WriteFileAtomically(const std::string &path, const std::string &contents);

// Text with every "\n" turned into CR LF, as in every line of the HEX file
// and the listing.
std::string WithCrLf(const std::string &text);
