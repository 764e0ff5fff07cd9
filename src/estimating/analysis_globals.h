#pragma once
// The global prices of the analyses (file 5): records handed out by number,
// freed onto the file's own free list and reused from it.
//
// Writes are ordered so that a stop at any of them leaves at worst records
// that no line uses (never a line whose record is on the free list, nor a
// free list that names a record in use): the header is written after
// records are taken, before they are filled; the analysis is written after
// its global records; released records are freed only after that.

#include <cstdint>
#include <string>
#include <vector>

#include "estimating/analysis_lines.h"

namespace vantu {

struct GlobalListHeader {
  int16_t highest = 0;    // highest record number handed out
  int16_t freeCount = 0;  // records on the free list
  int16_t firstFree = 0;  // first free record, 0 when none
};

GlobalListHeader ReadGlobalHeader();
// Writes the three numbers into record 0 and sets the file's ChangeMarker.
void WriteGlobalHeader(const GlobalListHeader& h);

// A record for a new global line: the first free one while the list holds
// one, else the next new number. A list that names a record not free is
// dropped (its records are lost, not reused twice).
int16_t TakeGlobalRecord(GlobalListHeader& h);
// Puts record r on the free list (RecordStatus -1, NextFree the old first).
void FreeGlobalRecord(GlobalListHeader& h, int16_t r);

// Gives every global line without a record one, then writes every global
// line's record with the owner's code and description; a new or changed
// price gets today's date. Call before the analysis is written.
//
// `released` holds the records that lines of this visit gave up, in the
// order they were given up. They are freed before new records are taken:
// new lines reuse them, the last released first, and only then the file's
// free list and new numbers. A reused record goes from one line of the
// analysis to another without passing through the free list, so a stop
// never leaves a record in use on the list. The records reused are taken
// out of `released`; the rest are freed by ReleaseGlobalRecords once the
// analysis is written.
void WriteGlobalLines(AnalysisLines& m, const std::string& ownerCode,
                      const std::string& ownerDescription, std::vector<int16_t>& released);
// Frees the records that lines no longer use. Call after the analysis is
// written.
void ReleaseGlobalRecords(const std::vector<int16_t>& records);

// The analysis `a` was renamed outside command F (the budget's description
// field): the global prices of its lines that named it by its old
// description, `oldDescription`, take the new one, which the review
// compares with the analysis's. Call before the analysis is written.
void RenameGlobalOwner(const AnalysisRecord& a, const std::string& oldDescription);

// True when a line of the analysis is global.
bool HasGlobalLines(const AnalysisLines& m);

}  // namespace vantu
