// Runs pieces of work each in a child process of its own, a few at a time.
//
// A fault point must be tried on a plug-in that has never run: the module keeps its globals
// for the life of the process (it is never unmapped), so each try forks from a parent that
// has loaded the module but never called it. A child that crashes, trips a sanitizer or
// hangs is one failed try, reported with its fault point, and the sweep goes on.
#pragma once

#include <dlfcn.h>
#include <link.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "support/support.h"

namespace sweep {

// A child writes what it has to say, and the sanitizers their reports, to files of its own:
// this prefix (made in the parent, the same for every child), a dot and the child's pid.
inline const std::string& ChildFiles() {
  static const testsupport::TempDir folder;
  static const std::string prefix = (folder / "child").string();
  return prefix;
}

// Whether the work returned, and what it returned or how the child ended ("killed by signal 11...").
struct ChildOutcome { bool finished = false; std::string report; };

class ChildPool {
 public:
  // At most `jobs` children at once; each is killed after `timeout` seconds.
  ChildPool(int jobs, unsigned timeout) : jobs_(jobs), timeout_(timeout) { ChildFiles(); }
  ~ChildPool() { finish(); }

  // Runs `work` in a new child (waiting for a free place first); `done` gets the outcome in
  // this process once the child has ended.
  void start(const std::function<std::string()>& work, std::function<void(const ChildOutcome&)> done) {
    while (static_cast<int>(running_.size()) >= jobs_) reapOne();
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) beChild(work);
    running_[pid] = std::move(done);
  }

  void finish() {
    while (!running_.empty()) reapOne();
  }

 private:
  [[noreturn]] void beChild(const std::function<std::string()>& work) {
    ::alarm(timeout_);
    // The sanitizers write to file descriptor 2, which the host redirects while the plug-in
    // runs. Each sanitizer library keeps its own report path, so every loaded one is told.
    std::set<std::string> libraries;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* names) {
          if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "san") != nullptr)
            static_cast<std::set<std::string>*>(names)->insert(info->dlpi_name);
          return 0;
        },
        &libraries);
    for (const std::string& name : libraries)
      if (void* library = ::dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD)) {
        if (void* set = ::dlsym(library, "__sanitizer_set_report_path"))
          reinterpret_cast<void (*)(const char*)>(set)(ChildFiles().c_str());
        ::dlclose(library);
      }
    std::string report;
    try {
      report = work();
    } catch (const std::exception& e) {
      report = std::string("the sweep's own code threw: ") + e.what();
    }
    testsupport::writeText(ChildFiles() + ".report." + std::to_string(::getpid()), report);
    // No exit handlers: they belong to the parent (its test framework, its leak check).
    ::_exit(0);
  }

  void reapOne() {
    int status = 0;
    const pid_t pid = ::waitpid(-1, &status, 0);
    if (pid < 0 && errno != EINTR) throw std::runtime_error(std::string("waitpid: ") + std::strerror(errno));
    auto it = running_.find(pid);
    if (it == running_.end()) return;  // interrupted, or not one of ours
    const auto done = std::move(it->second);
    running_.erase(it);
    const std::string file = ChildFiles() + ".report." + std::to_string(pid);
    const bool finished = WIFEXITED(status) && WEXITSTATUS(status) == 0 && std::filesystem::exists(file);
    // What the work returned, or what the sanitizers reported.
    const std::string report = testsupport::readText(finished ? file : ChildFiles() + "." + std::to_string(pid));
    std::filesystem::remove(file);
    std::filesystem::remove(ChildFiles() + "." + std::to_string(pid));
    const int signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    if (finished) return done({true, report});
    if (signal == SIGALRM) return done({false, "did not finish within " + std::to_string(timeout_) + " s"});
    done({false, (signal != 0 ? "killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")"
                              : "exited with status " + std::to_string(WEXITSTATUS(status))) + ":\n" + report});
  }

  int jobs_;
  unsigned timeout_;
  std::map<pid_t, std::function<void(const ChildOutcome&)>> running_;
};

}  // namespace sweep
