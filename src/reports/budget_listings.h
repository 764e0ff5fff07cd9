#pragma once
// The seven budget listings. Each takes the page range (FromPage 0 writes a
// separator page first), walks its file twice and returns whether it wrote
// a page; a listing that finds nothing says so (unless QuietEmpty) and adds
// 1 to EmptyListingCount.

namespace vantu {

bool ListBasicInputs(int from, int to);
bool ListUnitPriceSummary(int from, int to);
bool ListSubcontracts(int from, int to);
// Obra only: the inputs the Obra's last calculation required.
bool ListRequirements(int from, int to);
// Obra only.
bool ListWorkBudget(int from, int to);
bool ListBudgetSummary(int from, int to);
// The unit price analyses, several on a page or one on each page.
bool ListAnalysesSeveral(int from, int to);
bool ListAnalysesOnePerPage(int from, int to);

}  // namespace vantu
