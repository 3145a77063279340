// A plug-in made of test code: its entry point runs whatever the test gives it, so a test
// can act inside a message exactly as a plug-in does, through the header's basic suite.
#pragma once

#include <functional>

#include "hostsim/core/host.h"

namespace hostcore_test {

using MessageBody = std::function<ASErr(const char* caller, const char* selector, SPMessageData& message)>;

// Attaches the fake plug-in to the host; until a body is set it answers every message 0.
void attachFakePlugin(hostsim::Host& host, hostsim::Resources resources = {});
// What the fake plug-in does with each message from now on.
void onMessage(MessageBody body);
// Runs body inside one message ("Test"/"Run") and returns its answer.
ASErr inPlugin(hostsim::Host& host, const std::function<ASErr(SPMessageData& message)>& body);

// Acquires a suite as a plug-in does; null when the host refuses.
template <typename Suite>
const Suite* acquire(SPMessageData& message, const char* name, int32_t version) {
  const void* suite = nullptr;
  if (message.basic->AcquireSuite(name, version, &suite) != kNoErr) return nullptr;
  return static_cast<const Suite*>(suite);
}

}  // namespace hostcore_test
