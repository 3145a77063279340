#include "fake_plugin.h"

#include <utility>

namespace hostcore_test {

namespace {

MessageBody gBody;

ASErr fakeMain(const char* caller, const char* selector, void* message) {
  if (!gBody) return kNoErr;
  return gBody(caller, selector, *static_cast<SPMessageData*>(message));
}

}  // namespace

void attachFakePlugin(hostsim::Host& host, hostsim::Resources resources) {
  gBody = nullptr;
  host.attachPlugin(fakeMain, std::move(resources));
}

void onMessage(MessageBody body) { gBody = std::move(body); }

ASErr inPlugin(hostsim::Host& host, const std::function<ASErr(SPMessageData& message)>& body) {
  onMessage([&](const char*, const char*, SPMessageData& message) { return body(message); });
  ASErr result = host.send("Test", "Run");
  onMessage(nullptr);
  return result;
}

}  // namespace hostcore_test
