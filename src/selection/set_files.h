#pragma once
// The file groups of one Rama or Obra and the copy, move and delete
// operations the file-management dialog runs on them.
//
// A Rama c owns "Apr??dat.c" and "Apr??ixc.c"; an Obra e (Rama and Obra
// codes) owns "Apr??dat.e", "Apr??ixc.e" and "Apr??cro.e". Names match
// without regard to letter case.

#include <string>
#include <vector>

#include "platform/platform.h"

namespace vantu {

struct SetFileGroup {
  std::string description;
  std::vector<std::string> patterns;  // '?' one character, '*' any run
};

// The groups of a Rama entry (code of one character) or of an Obra entry
// (three characters).
std::vector<SetFileGroup> FileGroupsOf(const std::string& code);

bool MatchesPattern(const std::string& name, const std::string& pattern);
// Regular files of `dir` matching any of the group's patterns, sorted.
std::vector<std::string> GroupFiles(const std::string& dir, const SetFileGroup& group);

// The groups of one entry over a data directory.
class SetFiles : public FileGroups {
 public:
  SetFiles(std::string directory, const std::string& code);

  std::string Directory() const override { return dir_; }
  int Count() const override { return static_cast<int>(groups_.size()); }
  std::string Name(int group) const override;
  std::vector<std::string> Files(int group) const override;
  std::string CopyTo(int group, const std::string& target, bool move,
                     const std::function<bool(const std::string& name)>& overwrite) override;
  std::string Delete(int group) override;

 private:
  bool Valid(int group) const { return group >= 0 && group < Count(); }

  std::string dir_;
  std::vector<SetFileGroup> groups_;
};

}  // namespace vantu
