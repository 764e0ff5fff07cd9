#pragma once
// One running copy per user and program home: a lock file held by the first
// copy, and a local socket on which a second start asks it to come forward.

#include <QLocalServer>
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

namespace vantu::gui {

class SingleInstance {
 public:
  // `name` tells programs apart (empty: from the user and VANTU_HOME).
  explicit SingleInstance(QString name = {});
  ~SingleInstance();

  // True for the first copy, which then listens for later starts. A later
  // copy sends its request to the first and gets false.
  bool Acquire();
  // Called in the first copy whenever a later start asks for the window.
  void OnRaise(std::function<void()> raise) { raise_ = std::move(raise); }

  const QString& Name() const { return name_; }

 private:
  bool SignalRunning() const;

  QString name_;
  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<QLocalServer> server_;
  std::function<void()> raise_;
};

}  // namespace vantu::gui
