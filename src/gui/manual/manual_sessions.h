#pragma once
// The consultant's sessions that the manual pictures, on the demo set
// (Rama A with its calculated Obra 01): one function per chapter, queued in
// the order the chapters are read.

#include <string>

namespace vantu::manual {

class ShotHost;

// Every session, from the first selection to the program's end. `scratch`
// is a folder the exchange session may write into.
void QueueManualSessions(ShotHost& host, const std::string& scratch);

}  // namespace vantu::manual
