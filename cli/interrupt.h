#pragma once
// Ctrl+C in the terminal runner. The handler only sets flags: the running
// statement stops at its next abort test ("Error: Operation Aborted") and
// the submission ends before its next statement. A second Ctrl+C within a
// second, while a statement still ignores the first, ends the process with
// status 130 at once.
#include "engine/engine.h"

namespace vx {

enum class InterruptMode {
    Session,  // interactive: only a running statement is stopped; the line
              // editor treats Ctrl+C at the prompt as a key
    Run,      // a file, -e or standard input: the run ends with status 130
};

void installInterruptHandler(Engine& engine, InterruptMode mode);
// Whether a Ctrl+C arrived during a run (always false in a session).
bool runInterrupted();

}  // namespace vx
