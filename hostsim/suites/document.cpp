// The current document's file, bleed and artboards; file paths; the user services (the
// date, from the host's clock). The Unicode strings and the preferences are offered from
// here too, with the rest of the document side.
#include "hostsim/suites/document_suites.h"

#include <cmath>
#include <filesystem>
#include <string>
#include <system_error>

#include "hostsim/model/clock.h"
#include "hostsim/model/document.h"
#include "hostsim/suites/doc_support.h"
#include "hostsim/suites/preference_suite.h"

namespace hostsim {

namespace {

// Paths as the document model keeps them; a never-saved document's path is empty, which
// names nothing on disk.
struct FilePaths {
  CountedObjects<std::filesystem::path> paths{"file path"};
};

CountedObjects<std::filesystem::path>& filePaths(Host& host) { return host.state<FilePaths>().paths; }

// --- AI Document -------------------------------------------------------------------------

ASErr getDocumentFileSpecification(AIFilePathHandle* file) {
  HOSTSIM_ENTER("AI Document Suite.GetDocumentFileSpecification");
  constexpr const char* kOperation = "AI Document Suite.GetDocumentFileSpecification";
  if (file == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  Document* document = host.document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    std::filesystem::path location = document->location().value_or(std::filesystem::path());
    if (*file == nullptr) {
      *file = handleFromNumber<AIFilePathHandle>(filePaths(host).add(host, std::move(location)));
      return kNoErr;
    }
    // A path the caller already holds is overwritten.
    std::filesystem::path* existing = filePaths(host).use(host, handleNumber(*file), kOperation);
    if (existing == nullptr) return kBadParameterErr;
    *existing = std::move(location);
    return kNoErr;
  });
}

ASErr getDocumentBleeds(AIRealRect* bleeds) {
  HOSTSIM_ENTER("AI Document Suite.GetDocumentBleeds");
  if (bleeds == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    const Rect b = document->bleed();
    *bleeds = {static_cast<AIReal>(b.left), static_cast<AIReal>(b.top), static_cast<AIReal>(b.right),
               static_cast<AIReal>(b.bottom)};
    return kNoErr;
  });
}

ASErr setDocumentBleeds(const AIRealRect* bleeds) {
  HOSTSIM_ENTER("AI Document Suite.SetDocumentBleeds");
  if (bleeds == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    // Negative and non-finite distances are refused by the document.
    document->setBleed({bleeds->left, bleeds->top, bleeds->right, bleeds->bottom});
    return kNoErr;
  });
}

const AIDocumentSuite kDocument = {getDocumentFileSpecification, getDocumentBleeds, setDocumentBleeds};

// --- AI File Path ------------------------------------------------------------------------

AIBoolean exists(AIFilePathHandle path, AIBoolean resolveLinks, AIBoolean* longPath, AIBoolean* isFile) {
  if (longPath != nullptr) *longPath = false;
  if (isFile != nullptr) *isFile = false;
  HOSTSIM_ENTER_OR("AI File Path Suite.Exists", false);
  Host& host = Host::current();
  try {
    const std::filesystem::path* p = filePaths(host).use(host, handleNumber(path), "AI File Path Suite.Exists");
    if (p == nullptr || p->empty()) return false;
    std::error_code ec;
    const auto status = resolveLinks ? std::filesystem::status(*p, ec) : std::filesystem::symlink_status(*p, ec);
    if (ec || !std::filesystem::exists(status)) return false;
    if (isFile != nullptr) *isFile = std::filesystem::is_regular_file(status);
    return true;
  } catch (...) {
    return false;
  }
}

ASErr getFullPath(AIFilePathHandle path, AIBoolean /*displayName: the same here*/, AIUnicodeStringHandle* fullPath) {
  HOSTSIM_ENTER("AI File Path Suite.GetFullPath");
  constexpr const char* kOperation = "AI File Path Suite.GetFullPath";
  if (fullPath == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  return guarded([&] {
    const std::filesystem::path* p = filePaths(host).use(host, handleNumber(path), kOperation);
    if (p == nullptr) return kBadParameterErr;
    std::string text;
    if (!p->empty()) {
      std::error_code ec;
      std::filesystem::path absolute = std::filesystem::absolute(*p, ec);
      if (ec) absolute = *p;
      text = absolute.lexically_normal().generic_string();
    }
    return storeUnicodeString(host, fullPath, std::move(text), kOperation);
  });
}

ASErr deletePath(AIFilePathHandle path) {
  Host& host = Host::current();
  // The path is given back even when a fault is planned: only the answer changes.
  const auto fault = host.enter("AI File Path Suite.DeletePath");
  if (path == nullptr) return fault.value_or(kNoErr);
  if (!filePaths(host).release(host, handleNumber(path), "AI File Path Suite.DeletePath")) return kBadParameterErr;
  return fault.value_or(kNoErr);
}

const AIFilePathSuite kFilePath = {exists, getFullPath, deletePath};

// --- AI Artboard -------------------------------------------------------------------------

// A list stands for the document's artboards as they are when it is read; properties hold
// one artboard's rectangle once filled.
struct Artboards {
  CountedObjects<char> lists{"artboard list"};
  CountedObjects<std::optional<Rect>> properties{"artboard properties"};
};

Artboards& artboards(Host& host) { return host.state<Artboards>(); }

ASErr init(AIArtboardPropertiesHandle* properties) {
  if (properties != nullptr) *properties = nullptr;
  HOSTSIM_ENTER("AI Artboard Suite.Init");
  if (properties == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  return guarded([&] {
    *properties = handleFromNumber<AIArtboardPropertiesHandle>(artboards(host).properties.add(host, std::nullopt));
    return kNoErr;
  });
}

ASErr dispose(AIArtboardPropertiesHandle properties) {
  Host& host = Host::current();
  const auto fault = host.enter("AI Artboard Suite.Dispose");
  // Null: the caller's Init failed, and it disposes of what it holds all the same.
  if (properties == nullptr) return fault.value_or(kNoErr);
  if (!artboards(host).properties.release(host, handleNumber(properties), "AI Artboard Suite.Dispose"))
    return kBadParameterErr;
  return fault.value_or(kNoErr);
}

ASErr getArtboardList(AIArtboardListHandle* list) {
  if (list != nullptr) *list = nullptr;
  HOSTSIM_ENTER("AI Artboard Suite.GetArtboardList");
  if (list == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  if (host.document() == nullptr) return kNoDocumentErr;
  return guarded([&] {
    *list = handleFromNumber<AIArtboardListHandle>(artboards(host).lists.add(host, 0));
    return kNoErr;
  });
}

ASErr releaseArtboardList(AIArtboardListHandle list) {
  Host& host = Host::current();
  const auto fault = host.enter("AI Artboard Suite.ReleaseArtboardList");
  if (list == nullptr) return fault.value_or(kNoErr);
  if (!artboards(host).lists.release(host, handleNumber(list), "AI Artboard Suite.ReleaseArtboardList"))
    return kBadParameterErr;
  return fault.value_or(kNoErr);
}

// The current document, through a list the host gave; the error otherwise.
ASErr listedDocument(Host& host, AIArtboardListHandle list, const char* operation, Document*& document) {
  if (list == nullptr || artboards(host).lists.use(host, handleNumber(list), operation) == nullptr)
    return kBadParameterErr;
  document = host.document();
  return document == nullptr ? kNoDocumentErr : kNoErr;
}

ASErr getCount(AIArtboardListHandle list, int32_t* count) {
  HOSTSIM_ENTER("AI Artboard Suite.GetCount");
  if (count == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  Document* document = nullptr;
  if (ASErr error = listedDocument(host, list, "AI Artboard Suite.GetCount", document)) return error;
  return guarded([&] {
    *count = document->artboardCount();
    return kNoErr;
  });
}

ASErr getActive(AIArtboardListHandle list, int32_t* index) {
  HOSTSIM_ENTER("AI Artboard Suite.GetActive");
  if (index == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  Document* document = nullptr;
  if (ASErr error = listedDocument(host, list, "AI Artboard Suite.GetActive", document)) return error;
  return guarded([&] {
    *index = document->activeArtboard();
    return kNoErr;
  });
}

ASErr getArtboardProperties(AIArtboardListHandle list, int32_t index, AIArtboardPropertiesHandle properties) {
  HOSTSIM_ENTER("AI Artboard Suite.GetArtboardProperties");
  constexpr const char* kOperation = "AI Artboard Suite.GetArtboardProperties";
  Host& host = Host::current();
  Document* document = nullptr;
  if (ASErr error = listedDocument(host, list, kOperation, document)) return error;
  std::optional<Rect>* target = artboards(host).properties.use(host, handleNumber(properties), kOperation);
  if (target == nullptr) return kBadParameterErr;
  return guarded([&] {
    *target = document->artboard(index);  // an index outside the list is refused
    return kNoErr;
  });
}

ASErr getPosition(AIArtboardPropertiesHandle properties, AIRealRect* rect) {
  HOSTSIM_ENTER("AI Artboard Suite.GetPosition");
  if (rect == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  const std::optional<Rect>* source =
      artboards(host).properties.use(host, handleNumber(properties), "AI Artboard Suite.GetPosition");
  if (source == nullptr || !*source) return kBadParameterErr;  // unknown, or never filled
  const Rect& r = **source;
  *rect = {static_cast<AIReal>(r.left), static_cast<AIReal>(r.top), static_cast<AIReal>(r.right),
           static_cast<AIReal>(r.bottom)};
  return kNoErr;
}

const AIArtboardSuite kArtboard = {init,     dispose,   getArtboardList,       releaseArtboardList,
                                   getCount, getActive, getArtboardProperties, getPosition};

// --- AI User -----------------------------------------------------------------------------

// A moment is the host clock's reading in seconds since 1970-01-01 00:00, counted as if
// the clock's time zone were UTC.
constexpr int64_t kSecondsPerDay = 86400;
// Far beyond any date the host gives; keeps the calendar arithmetic from overflowing.
constexpr int64_t kLargestMoment = int64_t{1} << 50;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct CivilDate {
  int64_t year;
  int64_t month;
  int64_t day;
};

CivilDate civilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  return {yoe + era * 400 + (month <= 2), month, day};
}

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// The days since 1970 of a moment the plug-in passes, or nothing for one no clock gives.
std::optional<int64_t> daysOf(const AIUserDateTime* moment) {
  if (moment == nullptr || moment->value > kLargestMoment || moment->value < -kLargestMoment) return std::nullopt;
  return floorDiv(moment->value, kSecondsPerDay);
}

ASErr getDateAndTime(AIUserDateTime* now) {
  HOSTSIM_ENTER("AI User Suite.GetDateAndTime");
  if (now == nullptr) return kBadParameterErr;
  return guarded([&] {
    const DateTime& t = Host::current().clock().now();
    now->value = daysFromCivil(t.year, t.month, t.day) * kSecondsPerDay + t.hour * 3600 + t.minute * 60 + t.second;
    return kNoErr;
  });
}

template <typename Field>
ASErr dateField(const AIUserDateTime* moment, int32_t* out, Field&& field) {
  if (out == nullptr) return kBadParameterErr;
  const auto days = daysOf(moment);
  if (!days) return kBadParameterErr;
  *out = static_cast<int32_t>(field(*days));
  return kNoErr;
}

ASErr getYear(const AIUserDateTime* moment, int32_t* year) {
  HOSTSIM_ENTER("AI User Suite.GetYear");
  return dateField(moment, year, [](int64_t days) { return civilFromDays(days).year; });
}

ASErr getMonth(const AIUserDateTime* moment, int32_t* month) {
  HOSTSIM_ENTER("AI User Suite.GetMonth");
  return dateField(moment, month, [](int64_t days) { return civilFromDays(days).month; });
}

ASErr getDay(const AIUserDateTime* moment, int32_t* day) {
  HOSTSIM_ENTER("AI User Suite.GetDay");
  return dateField(moment, day, [](int64_t days) { return civilFromDays(days).day; });
}

// 1 Friday ... 7 Thursday; 1970-01-01 was a Thursday.
ASErr getDayOfWeek(const AIUserDateTime* moment, int32_t* dayOfWeek) {
  HOSTSIM_ENTER("AI User Suite.GetDayOfWeek");
  return dateField(moment, dayOfWeek, [](int64_t days) {
    const int64_t fromThursday = ((days % 7) + 7) % 7;
    return fromThursday == 0 ? int64_t{7} : fromThursday;
  });
}

const AIUserSuite kUser = {getDateAndTime, getYear, getMonth, getDay, getDayOfWeek};

}  // namespace

void offerDocumentSuites(Host& host) {
  host.offerSuite(kAIDocumentSuite, kAIDocumentSuiteVersion, &kDocument);
  host.offerSuite(kAIFilePathSuite, kAIFilePathSuiteVersion, &kFilePath);
  host.offerSuite(kAIArtboardSuite, kAIArtboardSuiteVersion, &kArtboard);
  host.offerSuite(kAIUserSuite, kAIUserSuiteVersion, &kUser);
  offerUnicodeStringSuite(host);
  offerPreferenceSuite(host);
}

}  // namespace hostsim
