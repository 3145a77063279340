#include "harness.h"

namespace adm_test {

namespace {

InitBody gInit;

ASErr initTrampoline(ADMDialogRef dialog) { return gInit ? gInit(dialog) : kNoErr; }

ASErr noMessages(const char*, const char*, void*) { return kNoErr; }

template <typename Suite>
const Suite* acquire(hostsim::Host& host, const char* name, int32_t version) {
  const void* table = nullptr;
  EXPECT_EQ(host.acquireSuite(name, version, &table), kNoErr) << name;
  return static_cast<const Suite*>(table);
}

}  // namespace

hostsim::Resources testResources() {
  hostsim::Resources resources;
  resources.icons[1000] = {16, 13,
                           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"13\">"
                           "<rect x=\"1\" y=\"1\" width=\"14\" height=\"11\" fill=\"#336\"/></svg>"};
  resources.icons[1100] = {64, 64, "<circle cx=\"32\" cy=\"32\" r=\"30\" fill=\"#c33\"/><title>logo</title>"};
  return resources;
}

DialogTest::DialogTest() {
  host.attachPlugin(noMessages, testResources());
  s.dialog = acquire<ADMDialogSuite>(host, kADMDialogSuite, kADMDialogSuiteVersion);
  s.item = acquire<ADMItemSuite>(host, kADMItemSuite, kADMItemSuiteVersion);
  s.list = acquire<ADMListSuite>(host, kADMListSuite, kADMListSuiteVersion);
  s.entry = acquire<ADMEntrySuite>(host, kADMEntrySuite, kADMEntrySuiteVersion);
  s.notifier = acquire<ADMNotifierSuite>(host, kADMNotifierSuite, kADMNotifierSuiteVersion);
  s.drawer = acquire<ADMDrawerSuite>(host, kADMDrawerSuite, kADMDrawerSuiteVersion);
  s.icon = acquire<ADMIconSuite>(host, kADMIconSuite, kADMIconSuiteVersion2);
}

DialogTest::~DialogTest() {
  host.releaseSuite(kADMDialogSuite, kADMDialogSuiteVersion);
  host.releaseSuite(kADMItemSuite, kADMItemSuiteVersion);
  host.releaseSuite(kADMListSuite, kADMListSuiteVersion);
  host.releaseSuite(kADMEntrySuite, kADMEntrySuiteVersion);
  host.releaseSuite(kADMNotifierSuite, kADMNotifierSuiteVersion);
  host.releaseSuite(kADMDrawerSuite, kADMDrawerSuiteVersion);
  host.releaseSuite(kADMIconSuite, kADMIconSuiteVersion2);
  gInit = nullptr;
  onNotify = nullptr;
  onDraw = nullptr;
  onDialogDraw = nullptr;
}

int32_t DialogTest::runModal(InitBody init) {
  gInit = std::move(init);
  int32_t result = s.dialog->Modal(host.pluginRef(), "Essai", 26000, 0, initTrampoline, nullptr, 0);
  gInit = nullptr;
  return result;
}

ADMItemRef DialogTest::make(ADMDialogRef dialog, int32_t id, const char* type, ADMRect bounds, const char* text) {
  ADMItemRef item = s.item->Create(dialog, id, type, &bounds, nullptr, nullptr, 0);
  if (text != nullptr) s.item->SetText(item, text);
  return item;
}

ADMEntryRef DialogTest::addEntry(ADMItemRef item, const char* text, int32_t id) {
  ADMEntryRef entry = s.entry->Create(s.item->GetList(item));
  s.entry->SetText(entry, text);
  s.entry->SetID(entry, id);
  return entry;
}

void DialogTest::notifyProc(ADMItemRef item, ADMNotifierRef notifier) {
  if (onNotify) onNotify(item, notifier);
}

void DialogTest::drawProc(ADMItemRef item, ADMDrawerRef drawer) {
  if (onDraw) onDraw(item, drawer);
}

void DialogTest::dialogDrawProc(ADMDialogRef dialog, ADMDrawerRef drawer) {
  if (onDialogDraw) onDialogDraw(dialog, drawer);
}

}  // namespace adm_test
