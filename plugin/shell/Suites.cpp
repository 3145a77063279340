#include "shell/Suites.h"

#include "shell/DateSuites.h"

uint16_t Suites::fAcquiredCount = 0;

namespace {

// The terminator of the required rows of gImportSuites.
ImportSuite* RequiredEnd() {
  ImportSuite* row = gImportSuites;
  while (row->name != nullptr) ++row;
  return row;
}

}  // namespace

Suites::Suites() {
  fOptionalSuitesTotalCount = 0;
  fRequiredSuitesCount = 0;
  fOptionalSuitesAcquiredCount = 0;

  fError = AcquireSuites();

  ImportSuite* terminator = RequiredEnd();
  fRequiredSuitesCount = static_cast<uint16_t>(terminator - gImportSuites);
  if (terminator->version == kOptionalSuitesTag) {
    for (ImportSuite* row = terminator + 1; row->name != nullptr; ++row) ++fOptionalSuitesTotalCount;
  }

  if (fError == kNoErr) acquire_Optional_Suites();
}

Suites::~Suites() { ReleaseSuites(); }

ASErr Suites::AcquireSuite(ImportSuite* row) {
  if (row->target == nullptr) return kNoErr;
  return sSPBasic->AcquireSuite(row->name, row->version, row->target);
}

ASErr Suites::ReleaseSuite(ImportSuite* row) {
  if (row->target == nullptr || *row->target == nullptr) return kNoErr;
  ASErr error = sSPBasic->ReleaseSuite(row->name, row->version);
  *row->target = nullptr;
  return error;
}

ASErr Suites::AcquireSuites() {
  if (fAcquiredCount != 0) {
    ++fAcquiredCount;
    return kNoErr;
  }
  for (ImportSuite& row : gBasicSuites) {
    ASErr error = AcquireSuite(&row);
    if (error != kNoErr) return error;
  }
  for (ImportSuite* row = gImportSuites; row->name != nullptr; ++row) {
    ASErr error = AcquireSuite(row);
    if (error != kNoErr) return error;
  }
  ++fAcquiredCount;
  return kNoErr;
}

void Suites::acquire_Optional_Suites() {
  if (fOptionalSuitesAcquiredCount == fOptionalSuitesTotalCount) return;
  ImportSuite* row = RequiredEnd() + 1;
  for (uint16_t i = 0; i < fOptionalSuitesTotalCount && row->target != nullptr; ++i, ++row) {
    if (*row->target == nullptr && AcquireSuite(row) == kNoErr) ++fOptionalSuitesAcquiredCount;
  }
}

ASErr Suites::ReleaseSuites() {
  // A holder that was never counted (acquisition failed and nobody set the count) is the
  // last one: the count must not wrap round and keep everything held for ever.
  if (fAcquiredCount != 0) --fAcquiredCount;
  if (fAcquiredCount != 0) return kNoErr;

  ASErr error = kNoErr;
  for (ImportSuite& row : gBasicSuites) {
    error = ReleaseSuite(&row);
    if (error != kNoErr) return error;
  }
  ImportSuite* row = gImportSuites;
  for (; row->name != nullptr; ++row) {
    error = ReleaseSuite(row);
    if (error != kNoErr) return error;
  }
  if (row->version == kOptionalSuitesTag) {
    for (++row; fOptionalSuitesAcquiredCount != 0 && row->name != nullptr; ++row) {
      error = ReleaseSuite(row);
      if (error != kNoErr) break;
      --fOptionalSuitesAcquiredCount;
    }
  }
  return error;
}
