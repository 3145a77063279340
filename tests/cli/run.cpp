#include "run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

extern char** environ;

namespace clitest {

Workspace::Workspace() {
  std::string pattern = (std::filesystem::temp_directory_path() / "cli-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

Workspace::~Workspace() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path Workspace::example(const std::string& name) const {
  std::filesystem::path copy = path_ / name;
  std::filesystem::copy_file(std::filesystem::path(CLI_TEST_EXAMPLES) / name, copy,
                             std::filesystem::copy_options::overwrite_existing);
  return copy;
}

Result Workspace::run(const std::vector<std::string>& args, const std::vector<std::string>& environment) const {
  std::vector<std::string> variables;
  for (char** e = environ; *e != nullptr; ++e) {
    std::string entry = *e;
    for (const char* dropped : {"SOURCE_DATE_EPOCH=", "XDG_CONFIG_HOME=", "HOME=", "ESTAMPILLEUR_FONTS=",
                                "ESTAMPILLEUR_PLUGIN="})
      if (entry.rfind(dropped, 0) == 0) entry.clear();
    if (!entry.empty()) variables.push_back(entry);
  }
  variables.push_back("XDG_CONFIG_HOME=" + (path_ / "config").string());
  variables.push_back("HOME=" + path_.string());
  variables.push_back(std::string("ESTAMPILLEUR_FONTS=") + CLI_TEST_FONTS);
  for (const auto& extra : environment) variables.push_back(extra);

  std::vector<std::string> argv = {CLI_TEST_PROGRAM};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> argp, envp;
  for (auto& a : argv) argp.push_back(a.data());
  argp.push_back(nullptr);
  for (auto& v : variables) envp.push_back(v.data());
  envp.push_back(nullptr);

  std::string outFile = (path_ / ".stdout").string();
  std::string errFile = (path_ / ".stderr").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  // The program runs in the workspace, so relative paths are the workspace's.
  std::string script = "cd \"$0\" && exec \"$@\"";
  std::vector<char*> shell = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"), script.data(),
                              const_cast<char*>(path_.c_str())};
  shell.insert(shell.end(), argp.begin(), argp.end());

  Result result;
  pid_t pid = 0;
  int spawned = posix_spawn(&pid, "/bin/sh", &actions, nullptr, shell.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error(std::string("cannot run the program: ") + std::strerror(spawned));
  int wstatus = 0;
  while (::waitpid(pid, &wstatus, 0) < 0) {
  }
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  result.out = readFile(outFile);
  result.err = readFile(errFile);
  std::filesystem::remove(outFile);
  std::filesystem::remove(errFile);
  return result;
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
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

}  // namespace clitest
