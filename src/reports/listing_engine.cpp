#include "reports/listing_engine.h"

#include "platform/file_system.h"
#include "session/shell_state.h"

namespace vantu {

namespace {

ListingState& State() {
  static ListingState state;
  return state;
}

// A large buffer: a maximum-size listing is written in one stream.
constexpr size_t kFileBuffer = 1 << 16;

std::FILE* OpenForAppend() {
  ListingState& s = State();
  if (s.file == nullptr && !ListingFileName().empty()) {
    s.file = os::OpenStream(ListingFileName(), "ab");
    if (s.file != nullptr) std::setvbuf(s.file, nullptr, _IOFBF, kFileBuffer);
  }
  if (s.file == nullptr) s.writeFailed = true;
  return s.file;
}

}  // namespace

ListingState& Listing() {
  return State();
}

ListingPage& Page() {
  return State().page;
}

void ResetListingState() {
  CloseListingFile();
  State() = ListingState{};
}

bool InViewMode() {
  return Shell().viewMode;
}

bool DotMatrix() {
  return Prefs().dotMatrixPrinter;
}

const std::string& ListingFileName() {
  return Shell().listingFileName;
}

void ListingWrite(const std::string& bytes) {
  if (bytes.empty()) return;
  if (std::FILE* f = OpenForAppend()) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) State().writeFailed = true;
  }
}

void ListingWrite(char c) {
  if (std::FILE* f = OpenForAppend()) {
    if (std::fputc(static_cast<unsigned char>(c), f) == EOF) State().writeFailed = true;
  }
}

void CloseListingFile() {
  ListingState& s = State();
  if (s.file == nullptr) return;
  if (std::fclose(s.file) != 0) s.writeFailed = true;
  s.file = nullptr;
}

void EmptyListingFile() {
  CloseListingFile();
  if (ListingFileName().empty()) return;
  if (std::FILE* f = os::OpenStream(ListingFileName(), "wb")) std::fclose(f);
  State().writeFailed = false;
}

}  // namespace vantu
