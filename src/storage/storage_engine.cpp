#include "storage/storage_engine.h"

namespace vantu {

namespace {
EngineState gEngine;
}  // namespace

EngineState& Engine() {
  return gEngine;
}

void InitStorageEngine() {
  EngineState& e = gEngine;
  e.LastOpOk = true;
  e.EngineStatus = 0;
  e.workBuffer.fill(0);
  e.PageCache = PageCacheState{};
  e.initialised = true;
  e.failed = false;
}

void ShutdownStorageEngine() {
  gEngine.PageCache = PageCacheState{};
  gEngine.initialised = false;
}

void ResetStorageEngine() {
  gEngine = EngineState{};
  InitStorageEngine();
}

}  // namespace vantu
