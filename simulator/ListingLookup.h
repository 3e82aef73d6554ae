// Finds an image line in the listing the compiler wrote beside the HEX file,
// so a runtime error can point at a place a user can open.
#pragma once

#include <string>

namespace velsim {

struct ListingPlace {
    int line = 0; // 1-based line of the listing file
    std::string code; // the listed statements
};

// False when the listing cannot be read or does not list that image line.
bool FindInListing(const std::string &listingPath, int imageLine, ListingPlace &place);

// The listing beside a HEX file: the same name with ".lst".
std::string ListingPathOf(const std::string &hexPath);

} // namespace velsim
