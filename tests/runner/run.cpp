#include "runner/run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <thread>

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
  std::vector<std::string> variables;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string entry = *e;
    bool dropped = false;
    for (const char* name : {"SOURCE_DATE_EPOCH=", "XDG_CONFIG_HOME=", "HOME=", "ESTAMPILLEUR_FONTS=",
                             "ESTAMPILLEUR_PLUGIN="})
      dropped = dropped || entry.rfind(name, 0) == 0;
    if (!dropped) variables.push_back(entry);
  }
  variables.push_back("XDG_CONFIG_HOME=" + (path() / "config").string());
  variables.push_back("HOME=" + path().string());
  variables.push_back(std::string("ESTAMPILLEUR_FONTS=") + RUNNER_FONTS);
  for (const auto& extra : environment) variables.push_back(extra);

  std::vector<std::string> argv = {RUNNER_PROGRAM};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> argp, envp;
  for (auto& a : argv) argp.push_back(a.data());
  argp.push_back(nullptr);
  for (auto& v : variables) envp.push_back(v.data());
  envp.push_back(nullptr);

  const std::string outFile = (path() / ".stdout").string();
  const std::string errFile = (path() / ".stderr").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  // Relative paths are the workspace's, as for a person working in that folder.
  std::string script = "cd \"$0\" && exec \"$@\"";
  std::vector<char*> shell = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), script.data(),
                              const_cast<char*>(path().c_str())};
  shell.insert(shell.end(), argp.begin(), argp.end());

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, "/bin/sh", &actions, nullptr, shell.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error(std::string("cannot run the program: ") + std::strerror(spawned));

  Result result;
  int wstatus = 0;
  bool killed = false;
  for (;;) {
    const pid_t done = ::waitpid(pid, &wstatus, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) throw std::runtime_error("lost the program's process");
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!killed && elapsed > limitSeconds) {
      ::kill(pid, SIGKILL);  // a hang is a failure like a crash; the test says which
      killed = true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  result.out = readFile(outFile);
  result.err = readFile(errFile);
  if (killed) result.err += "\n[killed after " + std::to_string(limitSeconds) + " s]";
  std::filesystem::remove(outFile);
  std::filesystem::remove(errFile);
  return result;
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

nlohmann::json readJson(const std::filesystem::path& file) { return nlohmann::json::parse(readFile(file)); }

std::vector<std::string> stampTexts(const nlohmann::json& document) {
  std::vector<std::string> texts;
  for (const auto& stamp : document.at("stamps")) texts.push_back(stamp.at("text").get<std::string>());
  return texts;
}

size_t occurrences(const std::string& text, const std::string& needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++count;
  return count;
}

}  // namespace runner
