#pragma once
// An in-memory list source: files of records kept in code order.

#include <map>
#include <set>
#include <string>

#include "toolkit/code_list_source.h"

namespace vantu::test {

class MemorySource : public CodeListSource {
 public:
  void Add(int kind, const std::string& code, const std::string& description,
           ItemDetail::Kind k = ItemDetail::Kind::Analysis) {
    ItemDetail d;
    d.kind = code.size() == 2 ? ItemDetail::Kind::Chapter : k;
    d.code = code;
    d.description = description;
    files_[kind][code] = d;
  }
  ItemDetail& At(int kind, const std::string& code) { return files_[kind][code]; }
  // Chapters 01..chapters, each with `items` items of codes `codeLength`
  // long; descriptions name them.
  void Fill(int kind, int chapters, int items, int codeLength) {
    for (int c = 1; c <= chapters; ++c) {
      char ch[12];
      std::snprintf(ch, sizeof ch, "%02d", c);
      Add(kind, ch, "CAPITULO " + std::string(ch));
      for (int i = 1; i <= items; ++i) {
        std::string n = std::to_string(i * 10);
        const std::string code = ch + std::string(codeLength - 2 - n.size(), '0') + n;
        Add(kind, code, "ITEM " + code);
      }
    }
  }
  std::map<std::string, int> groups;  // chapter -> group of file 2
  std::set<std::string> budgetUses;
  bool aiu = false;

  bool HasRecords(int kind) override { return !files_[kind].empty(); }
  std::optional<ListEntry> Seek(int kind, const std::string& code) override {
    return Entry(files_[kind].lower_bound(code), kind);
  }
  std::optional<ListEntry> Next(int kind, const std::string& code) override {
    return Entry(files_[kind].upper_bound(code), kind);
  }
  std::optional<ListEntry> Prev(int kind, const std::string& code) override {
    auto& f = files_[kind];
    auto it = f.lower_bound(code);
    if (it == f.begin()) return std::nullopt;
    return Entry(--it, kind);
  }
  std::optional<ItemDetail> Detail(int kind, const std::string& code) override {
    auto& f = files_[kind];
    auto it = f.find(code);
    if (it == f.end()) return std::nullopt;
    return it->second;
  }
  int InputGroup(const std::string& code) override {
    auto it = groups.find(code.substr(0, 2));
    return it == groups.end() ? 0 : it->second;
  }
  bool BudgetUses(const std::string& code) override { return budgetUses.count(code) > 0; }
  bool AiuPerItem() override { return aiu; }

 private:
  using File = std::map<std::string, ItemDetail>;
  std::optional<ListEntry> Entry(File::iterator it, int kind) {
    if (it == files_[kind].end()) return std::nullopt;
    return ListEntry{it->first, it->second.description};
  }
  std::map<int, File> files_;
};

}  // namespace vantu::test
