#include "hostsim/core/accounting.h"

#include <sstream>

namespace hostsim {

bool Accounting::suiteReleased(const std::string& name, int32_t version) {
  auto it = suites_.find({name, version});
  if (it == suites_.end() || it->second == 0) return false;
  --it->second;
  return true;
}

int Accounting::suitesHeld() const {
  int n = 0;
  for (const auto& [key, count] : suites_) n += count;
  return n;
}

int Accounting::suiteHeld(const std::string& name, int32_t version) const {
  auto it = suites_.find({name, version});
  return it == suites_.end() ? 0 : it->second;
}

int Accounting::objectsLive(const std::string& kind) const {
  auto it = objects_.find(kind);
  return it == objects_.end() ? 0 : it->second;
}

int Accounting::objectsLive() const {
  int n = 0;
  for (const auto& [kind, count] : objects_) n += count;
  return n;
}

std::vector<std::string> Accounting::suiteNames() const {
  std::vector<std::string> names;
  for (const auto& [key, count] : suites_)
    if (names.empty() || names.back() != key.first) names.push_back(key.first);
  return names;
}

std::map<std::string, int> Accounting::liveObjectsByKind() const {
  std::map<std::string, int> live;
  for (const auto& [kind, count] : objects_)
    if (count != 0) live[kind] = count;
  return live;
}

uint64_t Accounting::countCall(const std::string& operation, bool numbered) {
  if (numbered) {
    ++totalCalls_;
    if (loggingCalls_) callLog_.push_back(operation);
  }
  return ++calls_[operation];
}

uint64_t Accounting::countCall(const char* operation, bool numbered) {
  if (numbered) {
    ++totalCalls_;
    if (loggingCalls_) callLog_.push_back(operation);
  }
  return ++callCounts_.find(calls_, operation);
}

uint64_t Accounting::callsOf(const std::string& operation) const {
  auto it = calls_.find(operation);
  return it == calls_.end() ? 0 : it->second;
}

std::string Accounting::outstanding(size_t liveBlocks) const {
  std::ostringstream out;
  for (const auto& [key, count] : suites_)
    if (count != 0) out << "suite \"" << key.first << "\" v" << key.second << " held " << count << " time(s)\n";
  for (const auto& [kind, count] : objects_)
    if (count != 0) out << count << " live " << kind << "\n";
  if (liveBlocks != 0) out << liveBlocks << " memory block(s) not freed\n";
  for (const auto& m : misuses_) out << "misuse: " << m << "\n";
  return out.str();
}

}  // namespace hostsim
