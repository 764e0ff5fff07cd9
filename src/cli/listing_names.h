#pragma once
// The listings vantu-cli list can write, by short ASCII name. Each entry
// runs one listing (or a set of them) into the listing file with the page
// range given; a listing that finds nothing adds 1 to EmptyListingCount.

#include <string>
#include <vector>

namespace vantu::cli {

// What a listing's run reports.
struct ListingRan {
  int count = 0;           // how many listings it ran
  bool landscape = false;  // it holds a schedule chart of more than two years
};

struct ListingName {
  const char* name;   // what --listing takes
  const char* title;  // what --help shows
  bool needsObra;     // lists data of the Obra's budget
  bool whole;         // a set of listings, always written whole
  // Writes the listing.
  ListingRan (*run)(int from, int to);
};

// Every listing, in the order --help lists them.
const std::vector<ListingName>& ListingNames();
// The entry called `name`, or nullptr.
const ListingName* FindListing(const std::string& name);

}  // namespace vantu::cli
