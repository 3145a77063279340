// Runs pieces of work each in a child process of its own, a few at a time.
//
// A fault point must be tried on a plug-in that has never run: the module keeps its globals
// for the life of the process (it is never unmapped), so each try forks from a parent that
// has loaded the module but never called it. A child that crashes, trips a sanitizer or
// hangs is one failed try, reported with its fault point, and the sweep goes on.
#pragma once

#include <functional>
#include <map>
#include <string>

#include <sys/types.h>

namespace sweep {

struct ChildOutcome {
  bool finished = false;  // the work returned and its report came back
  std::string report;     // what the work returned
  std::string death;      // how the child ended otherwise ("killed by signal 11 ...")
};

class ChildPool {
 public:
  // At most `jobs` children at once; each is killed after `timeoutSeconds`.
  ChildPool(int jobs, unsigned timeoutSeconds);
  ~ChildPool();
  ChildPool(const ChildPool&) = delete;
  ChildPool& operator=(const ChildPool&) = delete;

  // Runs `work` in a new child (waiting for a free place first); `done` gets the outcome in
  // this process once the child has ended.
  void start(std::function<std::string()> work, std::function<void(const ChildOutcome&)> done);
  // Waits for every child started.
  void finish();

 private:
  struct Running {
    int pipe = -1;
    std::string received;
    std::function<void(const ChildOutcome&)> done;
  };
  void reapOne();

  int jobs_;
  unsigned timeout_;
  std::map<pid_t, Running> running_;
};

// What the sanitizers reported in a child of a pool (the child itself may ask, with its own
// pid), shortened; the report file goes.
std::string SanitizerReport(pid_t child);

// Runs `work` in one child and waits for it.
ChildOutcome RunInChild(std::function<std::string()> work, unsigned timeoutSeconds);

// The number of children a sweep runs at once: SWEEP_JOBS, else 2.
int SweepJobs();

}  // namespace sweep
