#include "storage/set_lock.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "storage/file_io.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

struct HeldSet {
  std::string key;  // canonical directory + "/" + Rama
  std::string dir, rama;
  FileLock lock;
  SetHolder mine;          // what the file says now
  bool foundOpen = false;  // left open by a holder that died; not rebuilt yet
  bool consistent = true;  // no write since the files were last consistent
};

struct SetLockState {
  std::vector<std::unique_ptr<HeldSet>> held;
  std::string program = "vantu";
};
SetLockState gLocks;

std::string KeyOf(const std::string& dir, const std::string& rama) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(fs::absolute(dir, ec), ec);
  return p.lexically_normal().string() + "/" + rama;
}

HeldSet* Find(const std::string& dir, const std::string& rama) {
  const std::string key = KeyOf(dir, rama);
  for (auto& h : gLocks.held)
    if (h->key == key) return h.get();
  return nullptr;
}

std::string Now() {
  const std::time_t t = std::time(nullptr);
  const std::tm tm = os::LocalTime(t);
  char text[32];
  std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &tm);
  return text;
}

std::string Text(const SetHolder& h) {
  std::ostringstream out;
  out << "VANTU BLOQUEO DE RAMA\r\n"
      << "programa=" << h.program << "\r\nusuario=" << h.user << "\r\nequipo=" << h.computer
      << "\r\nproceso=" << h.pid << "\r\ndesde=" << h.since << "\r\nobra=" << h.obra
      << "\r\nestado=" << (h.leftOpen ? "abierto" : "cerrado") << "\r\n";
  return out.str();
}

SetHolder Parse(const std::string& text) {
  SetHolder h;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "programa") h.program = value;
    if (key == "usuario") h.user = value;
    if (key == "equipo") h.computer = value;
    if (key == "desde") h.since = value;
    if (key == "obra") h.obra = value.substr(0, 2);
    if (key == "proceso") h.pid = std::strtol(value.c_str(), nullptr, 10);
    if (key == "estado") h.leftOpen = value == "abierto";
  }
  return h;
}

// The holder's words. A holder writes them just after it takes the lock:
// text naming a process of this computer that has ended is the last
// holder's, so it is read again a moment later, and never shown as the
// holder's if it stays so.
SetHolder CurrentHolder(const std::string& lockFile) {
  const std::string here = CurrentComputerName();
  SetHolder h;
  for (int attempt = 0; attempt < 5; ++attempt) {
    h = Parse(ReadLockFileText(lockFile));
    if (h.computer != here || ProcessRunning(h.pid)) return h;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return SetHolder{"", "", here, "", "", 0, false};
}

int WriteHolder(HeldSet& h, bool sync) {
  return h.lock.Write(Text(h.mine), sync);
}

}  // namespace

std::string SetLockPath(const std::string& dir, const std::string& rama) {
  // The lock follows the spelling of the Rama's files, found whatever
  // their letter case, so that every program names the same lock.
  const fs::path first = FindFileIn(dir, DataBaseName(1, rama));
  std::string ext = first.extension().string();
  ext = ext.empty() || !fs::exists(first) ? rama : ext.substr(1);
  return (fs::path(dir) / ("Apr00blq." + ext)).string();
}

SetLockAttempt TakeSetLock(const std::string& dir, const std::string& rama) {
  SetLockAttempt a;
  a.lockFile = SetLockPath(dir, rama);
  if (HeldSet* h = Find(dir, rama)) {
    a.result = SetLockResult::kAlreadyOurs;
    a.holder = h->mine;
    return a;
  }
  auto h = std::make_unique<HeldSet>();
  switch (h->lock.TryTake(a.lockFile)) {
    case FileLock::Result::kHeldElsewhere:
      a.result = SetLockResult::kInUse;
      a.holder = CurrentHolder(a.lockFile);
      return a;
    case FileLock::Result::kFailed:
      a.result = SetLockResult::kFailed;
      a.error = h->lock.Error();
      return a;
    case FileLock::Result::kTaken:
      break;
  }
  a.holder = Parse(ReadLockFileText(a.lockFile));
  h->key = KeyOf(dir, rama);
  h->dir = dir;
  h->rama = rama;
  // Who holds it now; a set left open stays marked so until it is
  // recovered, also if this holder stops before that.
  h->mine = SetHolder{gLocks.program, CurrentUserName(),  CurrentComputerName(), Now(),
                      a.holder.obra,  CurrentProcessId(), a.holder.leftOpen};
  h->foundOpen = a.holder.leftOpen;
  h->consistent = !a.holder.leftOpen;
  if (const int err = WriteHolder(*h, false); err != 0) {
    a.result = SetLockResult::kFailed;
    a.error = err;
    return a;
  }
  gLocks.held.push_back(std::move(h));
  a.result = SetLockResult::kTaken;
  return a;
}

bool HoldsSetLock(const std::string& dir, const std::string& rama) {
  return Find(dir, rama) != nullptr;
}

SetHolder HeldSetHolder(const std::string& dir, const std::string& rama) {
  const HeldSet* h = Find(dir, rama);
  return h != nullptr ? h->mine : SetHolder{};
}

bool HeldSetLeftOpen(const std::string& dir, const std::string& rama) {
  const HeldSet* h = Find(dir, rama);
  return h != nullptr && h->foundOpen;
}

bool MarkHeldSetOpen(const std::string& dir, const std::string& rama, const std::string& obra) {
  HeldSet* h = Find(dir, rama);
  if (h == nullptr) return true;
  h->consistent = false;
  if (h->mine.leftOpen && h->mine.obra == obra) return true;
  h->mine.leftOpen = true;
  h->mine.obra = obra;
  return WriteHolder(*h, true) == 0;
}

// A set found left open stays so until it is rebuilt.
void NoteHeldSetsConsistent() {
  for (auto& h : gLocks.held)
    if (!h->foundOpen) h->consistent = true;
}

void NoteHeldSetConsistent(const std::string& dir, const std::string& rama) {
  if (HeldSet* h = Find(dir, rama)) {
    h->consistent = true;
    h->foundOpen = false;
  }
}

void ReleaseSetLock(const std::string& dir, const std::string& rama, bool closedNormally) {
  const std::string key = KeyOf(dir, rama);
  for (auto it = gLocks.held.begin(); it != gLocks.held.end(); ++it) {
    HeldSet& h = **it;
    if (h.key != key) continue;
    if ((closedNormally || h.consistent) && !h.foundOpen && h.mine.leftOpen) {
      h.mine.leftOpen = false;
      WriteHolder(h, false);  // a lost "cerrado" only runs the recovery again
    }
    gLocks.held.erase(it);
    return;
  }
}

void ReleaseAllSetLocks(bool closedNormally) {
  while (!gLocks.held.empty()) {
    HeldSet& h = *gLocks.held.back();
    ReleaseSetLock(h.dir, h.rama, closedNormally);
  }
}

void ResetSetLocks() {
  gLocks = SetLockState{};
}

void SetLockProgram(const std::string& name) {
  gLocks.program = name;
}

std::vector<std::string> SetInUseLines(const std::string& rama, const SetLockAttempt& a) {
  const std::string name = fs::path(a.lockFile).filename().string();
  if (a.result == SetLockResult::kFailed)
    return {"No se puede reservar la RAMA " + rama + " para trabajar en ella:",
            "el archivo " + name + " no se pudo crear ni abrir:",
            StatusMessage(StatusFromOsError(a.error, kStatusDosFunction)), "No se cambio nada."};
  const SetHolder& h = a.holder;
  auto orUnknown = [](const std::string& s) { return s.empty() ? "(desconocido)" : s; };
  return {"La RAMA " + rama + " esta en uso y no se puede abrir ahora.",
          "Usuario: " + orUnknown(h.user) + "   Equipo: " + orUnknown(h.computer),
          "Programa: " + orUnknown(h.program) +
              (h.pid > 0 ? " (proceso " + std::to_string(h.pid) + ")" : ""),
          "Desde: " + orUnknown(h.since), "No se cambio nada. Intente de nuevo cuando se cierre."};
}

}  // namespace vantu
