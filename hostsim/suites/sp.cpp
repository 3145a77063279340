// The plug-in architecture's suites: SP Basic (suites and the plug-in's heap), SP Access,
// SP Plug-ins and SP Blocks.
//
// On any failure, out-parameters read as null, so a planned fault has one outcome.
//
// SP Basic and the blocks are the ground every other call stands on: they are counted but
// never failed by call number. Their faults are the fault plan's unavailable suites and
// failed allocations, which the host applies in acquireSuite and allocateBlock.
#include "hostsim/suites/sp_suites.h"

#include <string>

#include "hostsim/core/host.h"

namespace hostsim {

namespace {

// --- SP Basic ----------------------------------------------------------------------------

ASErr acquireSuite(const char* name, int32_t version, const void** suite) {
  Host& host = Host::current();
  host.enterUnnumbered("SP Basic Suite.AcquireSuite");
  return host.acquireSuite(name, version, suite);
}

ASErr releaseSuite(const char* name, int32_t version) {
  Host& host = Host::current();
  host.enterUnnumbered("SP Basic Suite.ReleaseSuite");
  return host.releaseSuite(name, version);
}

ASErr allocateBlock(size_t size, void** block) {
  Host& host = Host::current();
  host.enterUnnumbered("SP Basic Suite.AllocateBlock");
  return host.allocateBlock(size, "SP Basic", block);
}

ASErr freeBlock(void* block) {
  Host& host = Host::current();
  host.enterUnnumbered("SP Basic Suite.FreeBlock");
  return host.freeBlock(block);
}

const SPBasicSuite kBasic = {acquireSuite, releaseSuite, allocateBlock, freeBlock};

// --- SP Access ---------------------------------------------------------------------------

constexpr const char* kAccessKind = "plug-in access";

ASErr acquirePlugin(SPPluginRef plugin, SPAccessRef* access) {
  if (access != nullptr) *access = nullptr;
  HOSTSIM_ENTER("SP Access Suite.AcquirePlugin");
  Host& host = Host::current();
  if (access == nullptr || !host.isPlugin(plugin)) return kBadParameterErr;
  auto handle = reinterpret_cast<SPAccessRef>(host.newToken());
  host.accesses().insert(handle);
  ++host.plugin().accessCount;
  host.accounting().objectCreated(kAccessKind);
  *access = handle;
  return kNoErr;
}

ASErr releasePlugin(SPAccessRef access) {
  Host& host = Host::current();
  // The access is given back even when a fault is planned: only the answer changes.
  auto fault = host.enter("SP Access Suite.ReleasePlugin");
  if (host.accesses().erase(access) == 0) {
    host.accounting().misuse("released a plug-in access the host never gave (or released it twice)");
    return kBadParameterErr;
  }
  if (host.hasPlugin()) --host.plugin().accessCount;
  host.accounting().objectDestroyed(kAccessKind);
  return fault.value_or(kNoErr);
}

ASErr getCurrentPlugin(SPPluginRef* plugin) {
  if (plugin != nullptr) *plugin = nullptr;
  HOSTSIM_ENTER("SP Access Suite.GetCurrentPlugin");
  if (plugin == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  // This host runs one plug-in: every call it makes is that plug-in's.
  *plugin = host.pluginRef();
  return host.hasPlugin() ? kNoErr : kBadParameterErr;
}

const SPAccessSuite kAccess = {acquirePlugin, releasePlugin, getCurrentPlugin};

// --- SP Plug-ins -------------------------------------------------------------------------

ASErr setPluginName(SPPluginRef plugin, const char* name) {
  HOSTSIM_ENTER("SP Plug-ins Suite.SetPluginName");
  Host& host = Host::current();
  if (!host.isPlugin(plugin) || name == nullptr) return kBadParameterErr;
  host.plugin().name = name;
  return kNoErr;
}

const SPPluginsSuite kPlugins = {setPluginName};

// --- SP Blocks ---------------------------------------------------------------------------

ASErr blocksAllocateBlock(size_t size, const char* debugName, void** block) {
  Host& host = Host::current();
  host.enterUnnumbered("SP Blocks Suite.AllocateBlock");
  return host.allocateBlock(size, debugName != nullptr && *debugName != '\0' ? debugName : "SP Blocks", block);
}

ASErr blocksFreeBlock(void* block) {
  Host& host = Host::current();
  host.enterUnnumbered("SP Blocks Suite.FreeBlock");
  return host.freeBlock(block);
}

const SPBlocksSuite kBlocks = {blocksAllocateBlock, blocksFreeBlock};

}  // namespace

void offerSPSuites(Host& host) {
  host.offerSuite(kSPBasicSuite, kSPBasicSuiteVersion, &kBasic);
  host.offerSuite(kSPAccessSuite, kSPAccessSuiteVersion, &kAccess);
  host.offerSuite(kSPPluginsSuite, kSPPluginsSuiteVersion, &kPlugins);
  host.offerSuite(kSPBlocksSuite, kSPBlocksSuiteVersion, &kBlocks);
}

}  // namespace hostsim
