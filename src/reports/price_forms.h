#pragma once
// The price-update forms: the basic inputs, the global prices used inside
// the unit price analyses, and the subcontracts, each with its current
// price and date (bold when older than OldPriceDays) and an empty ruled
// column for the new price. Each form takes the page range (FromPage 0
// writes a separator page first), walks its file twice and returns whether
// it wrote a page; a form that finds nothing says so (unless QuietEmpty)
// and adds 1 to EmptyListingCount.

#include <string>

#include "storage/btree.h"

namespace vantu {

// The temporary index that orders the global prices by the code of the
// analysis that uses them: "Apr05ixc." and the set's extension, next to the
// listing file. Built at construction, closed and deleted at destruction.
class GlobalPriceOrder {
 public:
  GlobalPriceOrder();
  ~GlobalPriceOrder();
  GlobalPriceOrder(const GlobalPriceOrder&) = delete;
  GlobalPriceOrder& operator=(const GlobalPriceOrder&) = delete;

  // Global prices in use (RecordStatus 0) the index holds.
  int Count() const { return count_; }
  const std::string& FileName() const { return fileName_; }
  IndexFileState& Index() { return index_; }

 private:
  std::string fileName_;
  IndexFileState index_;
  int count_ = 0;
};

bool FormBasicInputs(int from, int to);
// Needs the GlobalPriceOrder of the running command.
bool FormGlobalPrices(int from, int to);
bool FormSubcontracts(int from, int to);

enum class PriceForm { Inputs, GlobalPrices, Subcontracts };

// Writes one form into the listing file, with the temporary index of the
// global prices built and removed around it when the form needs it. For
// callers outside the L and M commands (the command line).
bool WritePriceForm(PriceForm form, int from, int to);

}  // namespace vantu
