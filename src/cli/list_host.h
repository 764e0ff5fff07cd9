#pragma once
// The host of vantu-cli list: the scripted host with no script, which keeps
// what the listing routes hand it instead of showing or printing it, reads
// the user's settings file without ever writing it, and answers every wait
// for a key (the core's notes and refusals) after keeping the note's text.

#include <string>
#include <vector>

#include "platform/headless/headless_host.h"

namespace vantu::cli {

class ListHost : public HeadlessHost {
 public:
  // Today is the system's date: the header of a listing without an Obra
  // and the age of the forms' prices follow it.
  ListHost();

  // The bytes the viewer was given, and whether it was given any.
  std::string shown;
  bool wasShown = false;
  // The bytes the platform printer was given, and the orientation.
  std::string printed;
  bool wasPrinted = false;
  bool landscape = false;
  // The text of every note the core waited on, in order.
  std::vector<std::string> notes;

  void WaitForEvents() override;
  void ShowListing(const std::string& fileName) override;
  bool PrintListingFile(const std::string& fileName, bool landscape, std::string& error) override;
  std::string ReadSetting(const std::string& key, const std::string& value) override;
  void WriteSetting(const std::string&, const std::string&, const std::string&) override {}
};

// The system's date today, in local time.
Date SystemToday();

// The settings file of the user ($VANTU_HOME/Presupuesto.conf, else the
// user's configuration directory): the text stored under key/value in
// Windows-1252, or "" when there is none.
std::string ReadUserSetting(const std::string& key, const std::string& value);

}  // namespace vantu::cli
