#include "isolation.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>


namespace sweep {

namespace {

constexpr size_t kMaxReport = 60000;  // below a pipe's capacity: the child never blocks

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

// The sanitizers write their reports to file descriptor 2, which the host redirects while
// the plug-in runs; a child sends them to a file of its own instead (prefix.<pid>), which
// the parent attaches to the fault point. Each sanitizer library keeps its own report file,
// so every loaded one is told.
void ReportSanitizersTo(const std::string& prefix) {
  std::set<std::string> libraries;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "san") != nullptr)
          static_cast<std::set<std::string>*>(data)->insert(info->dlpi_name);
        return 0;
      },
      &libraries);
  std::set<void*> told;
  for (const std::string& name : libraries) {
    void* library = ::dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (library == nullptr) continue;
    void* set = ::dlsym(library, "__sanitizer_set_report_path");
    if (set != nullptr && told.insert(set).second) reinterpret_cast<void (*)(const char*)>(set)(prefix.c_str());
    ::dlclose(library);
  }
}

// Made in the parent: the same for every child of this process.
std::string ReportPrefix() {
  static const std::string prefix = (std::filesystem::temp_directory_path() / ("sweep-sanitizer-" + std::to_string(::getpid()))).string();
  return prefix;
}

}  // namespace

std::string SanitizerReport(pid_t child) {
  const std::string file = ReportPrefix() + "." + std::to_string(child);
  std::ifstream in(file);
  if (!in) return {};
  std::string text;
  int lines = 0;
  for (std::string line; std::getline(in, line) && lines < 40; ++lines) text += "    " + line + "\n";
  in.close();
  std::filesystem::remove(file);
  return text;
}

namespace {

[[noreturn]] void BeChild(int out, unsigned timeout, const std::function<std::string()>& work) {
  ::alarm(timeout);
  ReportSanitizersTo(ReportPrefix());
  std::string report;
  try {
    report = work();
  } catch (const std::exception& e) {
    report = std::string("the sweep's own code threw: ") + e.what();
  } catch (...) {
    report = "the sweep's own code threw";
  }
  if (report.size() > kMaxReport) report.resize(kMaxReport);
  WriteAll(out, "R" + report);
  ::close(out);
  // No exit handlers: they belong to the parent (its test framework, its leak check).
  ::_exit(0);
}

std::string Death(pid_t child, int status, unsigned timeout) {
  if (WIFSIGNALED(status)) {
    int sig = WTERMSIG(status);
    if (sig == SIGALRM)
      return "did not finish within " + std::to_string(timeout) + " s (a call never returned)";
    return "killed by signal " + std::to_string(sig) + " (" + strsignal(sig) + "):\n" + SanitizerReport(child);
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
    return "exited with status " + std::to_string(WEXITSTATUS(status)) + ":\n" + SanitizerReport(child);
  return "ended without a report";
}

}  // namespace

ChildPool::ChildPool(int jobs, unsigned timeoutSeconds) : jobs_(jobs < 1 ? 1 : jobs), timeout_(timeoutSeconds) {
  ReportPrefix();
}

ChildPool::~ChildPool() { finish(); }

void ChildPool::start(std::function<std::string()> work, std::function<void(const ChildOutcome&)> done) {
  while (static_cast<int>(running_.size()) >= jobs_) reapOne();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
  }
  if (pid == 0) {
    ::close(fds[0]);
    for (const auto& [other, running] : running_) ::close(running.pipe);
    BeChild(fds[1], timeout_, work);
  }
  ::close(fds[1]);
  running_[pid] = Running{fds[0], {}, std::move(done)};
}

void ChildPool::reapOne() {
  if (running_.empty()) return;
  for (;;) {
    int status = 0;
    pid_t pid = ::waitpid(-1, &status, 0);
    if (pid < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error(std::string("waitpid: ") + std::strerror(errno));
    }
    auto it = running_.find(pid);
    if (it == running_.end()) continue;  // not one of ours
    Running running = std::move(it->second);
    running_.erase(it);
    std::string received = ReadAll(running.pipe);
    ::close(running.pipe);
    ChildOutcome outcome;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && !received.empty() && received[0] == 'R') {
      outcome.finished = true;
      outcome.report = received.substr(1);
    } else {
      outcome.death = Death(pid, status, timeout_);
    }
    running.done(outcome);
    return;
  }
}

void ChildPool::finish() {
  while (!running_.empty()) reapOne();
}

ChildOutcome RunInChild(std::function<std::string()> work, unsigned timeoutSeconds) {
  ChildOutcome result;
  ChildPool pool(1, timeoutSeconds);
  pool.start(std::move(work), [&](const ChildOutcome& outcome) { result = outcome; });
  pool.finish();
  return result;
}

int SweepJobs() {
  if (const char* text = std::getenv("SWEEP_JOBS")) {
    int jobs = std::atoi(text);
    if (jobs > 0) return jobs;
  }
  return 2;
}

}  // namespace sweep
