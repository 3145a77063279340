#include "runner/run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <map>
#include <stdexcept>

extern char** environ;

namespace runner {

std::filesystem::path Workspace::example(const std::string& name, const std::string& as) const {
  std::filesystem::path copy = path() / (as.empty() ? name : as);
  std::filesystem::copy_file(std::filesystem::path(RUNNER_EXAMPLES) / name, copy,
                             std::filesystem::copy_options::overwrite_existing);
  return copy;
}

Result Workspace::run(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                      double limitSeconds) const {
  std::map<std::string, std::string> variables;  // by name, the later ones winning
  const auto set = [&](const std::string& entry) { variables[entry.substr(0, entry.find('='))] = entry; };
  for (char** e = environ; *e != nullptr; ++e) set(*e);
  for (const char* name : {"SOURCE_DATE_EPOCH", "ESTAMPILLEUR_PLUGIN"}) variables.erase(name);
  for (const std::string& entry : {"XDG_CONFIG_HOME=" + (path() / "config").string(), "HOME=" + path().string(),
                                   std::string("ESTAMPILLEUR_FONTS=") + RUNNER_FONTS})
    set(entry);
  for (const std::string& entry : environment) set(entry);

  std::vector<char*> argp = {const_cast<char*>(RUNNER_PROGRAM)}, envp;  // execve writes to neither
  for (const std::string& arg : args) argp.push_back(const_cast<char*>(arg.c_str()));
  for (auto& [name, entry] : variables) envp.push_back(entry.data());
  argp.push_back(nullptr), envp.push_back(nullptr);
  const std::string out = (path() / ".stdout").string(), err = (path() / ".stderr").string();
  const unsigned limit = static_cast<unsigned>(limitSeconds + 0.999);

  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("cannot run the program");
  if (pid == 0) {
    // Only what is safe between fork and exec: the test may run threads. Relative paths are
    // the workspace's, as for a person working in that folder; a hang ends with SIGALRM.
    const int writing = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;
    if (::chdir(path().c_str()) == 0 && ::dup2(::open("/dev/null", O_RDONLY | O_CLOEXEC), 0) == 0 &&
        ::dup2(::open(out.c_str(), writing, 0644), 1) == 1 && ::dup2(::open(err.c_str(), writing, 0644), 2) == 2) {
      ::alarm(limit);
      ::execve(argp[0], argp.data(), envp.data());
    }
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) throw std::runtime_error("lost the program's process");
  Result result{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), readFile(out), readFile(err), {}};
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) result.err += "\n[killed after " + std::to_string(limit) + " s]";
  std::filesystem::remove(out), std::filesystem::remove(err);
  return result;
}

Result Workspace::stamp(std::vector<std::string> args, double limitSeconds) const {
  args.insert(args.begin(), {"stamp", "--date", "2012-04-10", "--report", "report.json"});
  std::filesystem::remove(path() / "report.json");
  Result result = run(args, {}, limitSeconds);
  if (std::filesystem::exists(path() / "report.json")) result.documents = readJson(path() / "report.json")["documents"];
  return result;
}

}  // namespace runner
