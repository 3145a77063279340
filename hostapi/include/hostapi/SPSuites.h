// The plug-in architecture: the basic suite that hands out every other suite and the
// plug-in's heap, plug-in access, plug-in names and host memory blocks.
//
// Called on the host's main thread, one call at a time. A suite pointer is valid from its
// acquisition to its release; every acquisition is counted by the host and must be given back.
#pragma once

#include "ASTypes.h"

constexpr const char* kSPBasicSuite = "SP Basic Suite";
constexpr int32_t kSPBasicSuiteVersion = 8;

struct SPBasicSuite {
  // Acquires suite (name, version) into *suite. Non-zero when the host has no such suite
  // or version; *suite is then left null.
  ASErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
  // Gives back one acquisition of (name, version).
  ASErr (*ReleaseSuite)(const char* name, int32_t version);
  // A block of size bytes from the host's heap into *block; non-zero (and null) when none.
  ASErr (*AllocateBlock)(size_t size, void** block);
  // Frees a block that AllocateBlock gave; a block the host never gave is an error.
  ASErr (*FreeBlock)(void* block);
};

constexpr const char* kSPAccessSuite = "SP Access Suite";
constexpr int32_t kSPAccessSuiteVersion = 3;

struct SPAccessSuite {
  // Keeps the plug-in's code loaded until ReleasePlugin; the access handle goes to *access.
  ASErr (*AcquirePlugin)(SPPluginRef plugin, SPAccessRef* access);
  ASErr (*ReleasePlugin)(SPAccessRef access);
  // The plug-in whose call the host is running now.
  ASErr (*GetCurrentPlugin)(SPPluginRef* plugin);
};

constexpr const char* kSPPluginsSuite = "SP Plug-ins Suite";
constexpr int32_t kSPPluginsSuiteVersion = 4;

struct SPPluginsSuite {
  // The name under which the host shows and knows the plug-in; the host copies it.
  ASErr (*SetPluginName)(SPPluginRef plugin, const char* name);
};

constexpr const char* kSPBlocksSuite = "SP Blocks Suite";
constexpr int32_t kSPBlocksSuiteVersion = 2;

struct SPBlocksSuite {
  // A block of size bytes into *block, tagged with debugName in the host's accounting.
  ASErr (*AllocateBlock)(size_t size, const char* debugName, void** block);
  ASErr (*FreeBlock)(void* block);
};
