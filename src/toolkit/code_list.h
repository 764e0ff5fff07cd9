#pragma once
// The code list window: the chapters and items of a file in code order, 19
// per page, with chapter mode, text search, item detail and the capture of
// the selected code into the calling field.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/code_list_source.h"

namespace vantu {

constexpr int kListRows = 19;

enum class ListMode { All, Chapters, ChapterItems };

// State of the list of one kind (work area 2, 3, 4 or 6).
struct CodeListState {
  int kind = 2;
  std::vector<ListEntry> rows;  // the visible rows, at most 19
  int selected = 0;             // index into rows
  ListMode mode = ListMode::All;
  std::string chapter;                              // ChapterItems: the chapter shown
  std::string searchText;                           // last text searched
  int left = 17, top = 2, right = 64, bottom = 22;  // window, frame included
};

CodeListState& CodeListFor(int kind);
void ResetCodeLists();

// What a captured code goes into: a line of the analysis being edited
// (area 3) or a budget item (area 6). Other areas capture without checks.
struct CaptureTarget {
  int area = 0;
  std::string ownCode;                 // area 3: the analysis being edited
  std::vector<std::string> lineCodes;  // area 3: codes of its 15 lines
  int lineGroup = 0;                   // area 3: group of the line's section, 1..4
  std::string currentCode;             // code the line or item holds now
};

struct CodeListHooks {
  // The target of a capture from the field of `callingArea`.
  std::function<CaptureTarget(int callingArea)> captureTarget;
};
CodeListHooks& ListHooks();

// True when every file named by the work-area digits holds no record.
bool CodeListFilesEmpty(const std::string& listAreas);

// Runs the list of the first file named by `listAreas` (F1 switches to the
// second), positioned at `fieldText` or at the first chapter. Returns the
// captured code, or nothing; `exitKey` is 13 after a capture, the review
// key that closed the list during the error review, else 133.
std::optional<std::string> OpenCodeList(int callingArea, const std::string& listAreas,
                                        const std::string& fieldText, uint8_t& exitKey);

// The capture checks; true when the capture is refused (the message has
// been shown and the field keeps its code).
bool CheckCapturedCode(const CaptureTarget& target, int kind, const std::string& code);

// The " BUSCAR :" window: edits the search text (up to 35 characters);
// true when the user asked to search with a text.
bool RunSearchWindow(std::string& text);

// Paging and selection over the source, in the list's mode.
void ListPositionAt(CodeListState& st, const std::string& code);
void ListHome(CodeListState& st);
bool ListPageDown(CodeListState& st);
bool ListPageUp(CodeListState& st);
bool ListRowDown(CodeListState& st);
bool ListRowUp(CodeListState& st);
bool ListToggleChapters(CodeListState& st);
// F7: the first entry after the selected one whose description contains
// `text` (upper case), to the end of the file; false when none.
bool ListSearch(CodeListState& st, const std::string& text);

}  // namespace vantu
