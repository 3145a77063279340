// The suites the plug-in imports and the object that holds them: constructing a Suites
// acquires every suite of the two import tables into its global, destroying the last one
// gives them all back and sets the globals to null.
#pragma once

#include <cstdint>

#include "hostapi/HostAPI.h"

// One row of an import table. A row whose target is null is skipped both ways.
struct ImportSuite {
  const char* name;
  int32_t version;
  const void** target;  // the address of the suite's global pointer
};

// A terminator row (null name) whose version is this tag is followed by optional rows, up to
// a second null name.
constexpr int32_t kOptionalSuitesTag = fourcc("OPTS");

constexpr int kBasicSuitesCount = 5;
extern ImportSuite gBasicSuites[kBasicSuitesCount];
extern ImportSuite gImportSuites[];

class Suites {
 public:
  // Acquires; a failure is kept in Error(), the rows before it stay acquired.
  Suites();
  ~Suites();
  Suites(const Suites&) = delete;
  Suites& operator=(const Suites&) = delete;

  ASErr Error() const { return fError; }
  // Makes this object the only holder, whether or not acquisition succeeded, so that
  // destroying it gives back exactly what was acquired.
  static void InitializeRefCount() { fAcquiredCount = 1; }
  // Acquires the optional suites that are still missing; failures are not reported.
  void acquire_Optional_Suites();

  uint16_t RequiredCount() const { return fRequiredSuitesCount; }
  uint16_t OptionalTotal() const { return fOptionalSuitesTotalCount; }
  uint16_t OptionalAcquired() const { return fOptionalSuitesAcquiredCount; }
  static uint16_t AcquiredCount() { return fAcquiredCount; }

 private:
  ASErr AcquireSuites();
  ASErr ReleaseSuites();
  ASErr AcquireSuite(ImportSuite* row);
  ASErr ReleaseSuite(ImportSuite* row);

  ASErr fError = kNoErr;
  uint16_t fOptionalSuitesTotalCount = 0;
  uint16_t fRequiredSuitesCount = 0;
  uint16_t fOptionalSuitesAcquiredCount = 0;

  // Live Suites objects sharing the acquired suites.
  static uint16_t fAcquiredCount;
};
