#pragma once
// The scripted host of the manual's screenshots: a headless host whose
// script, at chosen points, checks that the screen says what the manual
// describes and saves a picture of it. A listing sent to the viewer and a
// message box of the window are pictured as the window shows them.

#include <QImage>
#include <QString>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/headless/headless_host.h"

namespace vantu::manual {

class ShotHost : public HeadlessHost {
 public:
  explicit ShotHost(QString outDir) : outDir_(std::move(outDir)) {}

  // One scripted act: text typed, then keys.
  void Type(const std::string& text, std::vector<int> keys);
  // A command letter of the menu, as the window's menu gives it.
  void Menu(char letter);
  // A step that fails the run unless every text is on the screen.
  void Expect(std::initializer_list<const char*> texts);
  // Expect, then the screen saved as <name>.png.
  void Shot(const std::string& name, std::initializer_list<const char*> texts);
  // The next listing the viewer shows is saved as <name>.png; it must hold `text`.
  void ShotOfViewer(const std::string& name, const std::string& text);
  // The next message box whose caption is `caption` is answered Ok and saved
  // over the screen as <name>.png.
  void ShotOfBox(const std::string& name, const std::string& caption);

  // Each saved screen's text printed too, to write the chapters from.
  void EchoText(bool on) { echo_ = on; }

  const std::vector<std::string>& Failures() const { return failures_; }
  const std::vector<std::string>& Saved() const { return saved_; }
  bool ViewerShotPending() const { return !viewerShot_.empty(); }
  bool BoxShotPending() const { return !boxShot_.empty(); }

  // Platform
  bool RegisterFont(const std::string& path) override;
  void UnregisterFont(const std::string& path) override;
  void ShowListing(const std::string& fileName) override;
  BoxAnswer MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                       BoxButtons buttons) override;

 private:
  void Fail(const std::string& what);
  void Save(const QImage& image, const std::string& name);

  QString outDir_;
  std::vector<std::string> failures_, saved_;
  std::string viewerShot_, viewerText_;
  std::string boxShot_, boxCaption_;
  bool echo_ = false;
};

}  // namespace vantu::manual
