#include "hostsim/core/trace.h"

#include <cmath>

#include "hostsim/core/host.h"
#include "hostsim/model/mac_roman.h"

namespace hostsim {

Tracer::~Tracer() {
  for (Line& line : pending_) line.done = true;  // a call that never returned (the process ends)
  flush();
  if (out_ != stderr) std::fclose(out_);
}

std::size_t Tracer::begin(std::string suite, std::string operation, bool named) {
  Line line;
  line.named = named;
  line.suite = std::move(suite);
  line.text = std::move(operation);
  line.depth = static_cast<int>(open_.size());
  pending_.push_back(std::move(line));
  open_.push_back(first_ + pending_.size() - 1);
  return open_.back();
}

void Tracer::entered(const char* operation) {
  if (open_.empty()) return;
  Line& line = pending_[open_.back() - first_];
  if (line.named) return;
  line.named = true;
  const std::string_view name(operation);
  const std::size_t dot = name.find('.');
  line.text = dot == std::string_view::npos ? std::string(name) : std::string(name.substr(dot + 1));
}

void Tracer::finish(std::size_t number, const std::string& arguments, const std::string& result) {
  Line& line = pending_[number - first_];
  std::string text(static_cast<std::size_t>(line.depth) * 2, ' ');
  text += line.suite + (line.text.empty() ? "" : "." + line.text) + "(" + arguments + ")";
  if (!result.empty()) text += " = " + result;
  line.text = std::move(text);
  line.done = true;
  if (!open_.empty() && open_.back() == number) open_.pop_back();
  flush();
}

void Tracer::flush() {
  std::size_t done = 0;
  while (done < pending_.size() && pending_[done].done) {
    std::fputs(pending_[done].text.c_str(), out_);
    std::fputc('\n', out_);
    ++done;
  }
  if (done == 0) return;
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(done));
  first_ += done;
  if (pending_.empty()) std::fflush(out_);
}

std::string Tracer::handle(const char* kind, const void* pointer) {
  if (pointer == nullptr) return "null";
  auto [it, fresh] = names_.try_emplace({kind, pointer});
  if (fresh) it->second = kind + std::to_string(++counts_[kind]);
  return it->second;
}

Tracer* currentTracer() { return Host::hasCurrent() ? Host::current().tracer() : nullptr; }

namespace trace {

std::string text(const char* text) {
  if (text == nullptr) return "null";
  std::string out = "\"";
  for (char c : macRomanToUtf8(text)) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

std::string code(int32_t error) {
  const auto byte = [&](int shift) { return static_cast<char>((static_cast<uint32_t>(error) >> shift) & 0xFF); };
  const std::string chars{byte(24), byte(16), byte(8), byte(0)};
  for (char c : chars)
    if (c < 0x20 || c > 0x7E) return std::to_string(error);
  return "'" + chars + "'";
}

std::string value(const AIRealPoint& p) { return "(" + number(p.h) + ", " + number(p.v) + ")"; }
std::string value(const AIRealRect& r) {
  return "[" + number(r.left) + ", " + number(r.top) + ", " + number(r.right) + ", " + number(r.bottom) + "]";
}
std::string value(const AIRealMatrix& m) {
  return "[" + number(m.a) + " " + number(m.b) + " " + number(m.c) + " " + number(m.d) + " " + number(m.tx) + " " +
         number(m.ty) + "]";
}
std::string value(const ADMRect& r) {
  return "[" + number(r.top) + ", " + number(r.left) + ", " + number(r.bottom) + ", " + number(r.right) + "]";
}
std::string value(const ADMPoint& p) { return "(" + number(p.v) + ", " + number(p.h) + ")"; }
std::string value(const AIUserDateTime& t) { return "@" + std::to_string(t.value); }
std::string value(const AIColor& c) { return "color(" + number(c.kind) + ")"; }

}  // namespace trace
}  // namespace hostsim
