// What every fuzz target shares: properties that name themselves when broken, before the abort the fuzzer
// reports; and without libFuzzer (FUZZ_REPLAY), a main that runs the target over its corpus folder, so that
// every test run replays the corpus (and every crash it once found) under the sanitizers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define require(condition)                                                                        \
  ((condition) ? (void)0                                                                          \
               : (std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition), std::abort()))

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

#ifdef FUZZ_REPLAY
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(argc > 1 ? argv[1] : ".")) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++replayed;
  }
  std::printf("%d inputs replayed\n", replayed);
  return replayed > 0 ? 0 : 2;
}
#endif
