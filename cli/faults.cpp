#include "faults.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "hostsim/standard_host.h"

namespace estampilleur {

namespace {

constexpr std::string_view kMissing = "missing:";
constexpr std::string_view kAllocation = "alloc";
constexpr const char* kWhereNames = "`estampilleur stamp --fault help` lists them";

struct Fault {
  enum class Kind { Call, Allocation, Suite };
  Kind kind = Kind::Call;
  std::string name;  // the operation or the suite
  uint64_t n = 1;
  ASErr code = kBadParameterErr;
};

// The suites the host offers, asked of a host once.
const std::vector<std::string>& offeredSuites() {
  static const std::vector<std::string> names = [] {
    hostsim::StandardHost host;
    return host.offeredSuiteNames();
  }();
  return names;
}

std::optional<int64_t> number(std::string_view text) {
  int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "!MEM" or a number; never 0, which is success.
std::optional<ASErr> errorCode(std::string_view text) {
  if (auto value = number(text)) {
    if (*value == 0 || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
    return static_cast<ASErr>(*value);
  }
  if (text.size() != 4 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; }))
    return std::nullopt;
  uint32_t code = 0;
  for (char c : text) code = code << 8 | static_cast<uint8_t>(c);
  return static_cast<ASErr>(code);
}

// The operations of the suite `operation` names, when it names one that has some.
std::string operationsOfItsSuite(const std::string& operation) {
  const std::string suite = operation.substr(0, operation.find('.')) + ".";
  std::string list;
  for (const std::string& name : hostsim::failableOperations())
    if (name.compare(0, suite.size(), suite) == 0) list += (list.empty() ? "" : ", ") + name.substr(suite.size());
  return list.empty() ? list : "; " + suite.substr(0, suite.size() - 1) + " has " + list;
}

std::optional<Fault> parse(const std::string& spec, std::string& problem) {
  Fault fault;
  if (spec.compare(0, kMissing.size(), kMissing) == 0) {
    fault.kind = Fault::Kind::Suite;
    fault.name = spec.substr(kMissing.size());
    const auto& suites = offeredSuites();
    if (std::find(suites.begin(), suites.end(), fault.name) == suites.end()) {
      problem = "«" + fault.name + "» is not a suite the host offers: " + kWhereNames;
      return std::nullopt;
    }
    return fault;
  }

  std::string rest = spec;
  std::optional<std::string> code;
  if (size_t equals = rest.find('='); equals != std::string::npos) {
    code = rest.substr(equals + 1);
    rest.resize(equals);
  }
  if (size_t hash = rest.find('#'); hash != std::string::npos) {
    auto n = number(std::string_view(rest).substr(hash + 1));
    if (!n || *n < 1) {
      problem = "«" + spec + "»: after # comes which call or block fails, counted from 1";
      return std::nullopt;
    }
    fault.n = static_cast<uint64_t>(*n);
    rest.resize(hash);
  }
  fault.name = rest;

  if (fault.name == kAllocation) {
    fault.kind = Fault::Kind::Allocation;
    if (code) {
      problem = "«" + spec + "»: a refused memory block takes no =CODE";
      return std::nullopt;
    }
    return fault;
  }
  if (!hostsim::isFailableOperation(fault.name)) {
    problem = "«" + fault.name + "» is not an operation of the host that can fail (as 'AI Document Suite." +
              "GetDocumentBleeds'): " + kWhereNames + operationsOfItsSuite(fault.name);
    return std::nullopt;
  }
  // The text engine answers with codes of its own.
  if (fault.name.compare(0, 4, "ATE ") == 0) fault.code = ATE::kBadParameter;
  if (code) {
    auto value = errorCode(*code);
    if (!value) {
      problem = "«" + spec + "»: the code after = is four characters (as !MEM) or a number other than 0";
      return std::nullopt;
    }
    fault.code = *value;
  }
  return fault;
}

}  // namespace

void addFaultOption(CLI::App& app, std::vector<std::string>& specs) {
  app.add_option("--fault", specs,
                 "Make the host fail: 'SUITE.Operation' its first call, #N its N-th, =CODE with that code; "
                 "alloc#N the N-th memory block; 'missing:SUITE NAME' a suite at start-up (repeatable; "
                 "`estampilleur stamp --fault help` lists the names)")
      ->type_name("SPEC")
      ->allow_extra_args(false)
      ->group("Host faults")
      ->check([](const std::string& spec) {
        std::string problem;
        if (spec != "help") parse(spec, problem);
        return problem;
      });
}

bool faultHelp(const std::vector<std::string>& specs) {
  if (std::find(specs.begin(), specs.end(), "help") == specs.end()) return false;
  std::printf(
      "--fault SPEC, repeatable, makes the host fail where the plug-in meets it:\n"
      "  'SUITE.Operation'       the operation's first call fails, with 'PARM' (1 for the text engine)\n"
      "  'SUITE.Operation#N'     its N-th call, counted over the whole run\n"
      "  'SUITE.Operation=CODE'  with CODE: four characters (as !MEM) or a number\n"
      "  alloc#N                 the N-th memory block the plug-in asks for is refused\n"
      "  'missing:SUITE NAME'    the host offers no such suite when the plug-in starts\n"
      "\nOperations:\n");
  for (const std::string& name : hostsim::failableOperations()) std::printf("  %s\n", name.c_str());
  std::printf("\nSuites:\n");
  for (const std::string& name : offeredSuites()) std::printf("  %s\n", name.c_str());
  return true;
}

void planFaults(const std::vector<std::string>& specs, hostsim::FaultPlan& plan) {
  for (const std::string& spec : specs) {
    std::string problem;
    std::optional<Fault> fault = parse(spec, problem);
    if (!fault) continue;
    switch (fault->kind) {
      case Fault::Kind::Call: plan.failCall(fault->name, fault->n, fault->code); break;
      case Fault::Kind::Allocation: plan.failAllocation(fault->n); break;
      case Fault::Kind::Suite: plan.makeSuiteUnavailable(fault->name); break;
    }
  }
}

}  // namespace estampilleur
