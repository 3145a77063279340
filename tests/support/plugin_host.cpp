#include "support/plugin_host.h"

#include "hostsim/suites/doc_support.h"

namespace testsupport {

namespace {

ASErr NoMessages(const char*, const char*, void*) { return kNoErr; }

hostsim::Resources Resources() {
  hostsim::Resources resources;
  resources.icons[kIconeCorps] = {16, 13,
                                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"13\">"
                                  "<rect x=\"1\" y=\"1\" width=\"14\" height=\"11\"/></svg>"};
  return resources;
}

}  // namespace

std::vector<AIArtHandle> Recorded(const MaillonAHTexte* premier) {
  std::vector<AIArtHandle> frames;
  for (const MaillonAHTexte* maillon = premier; maillon != nullptr; maillon = maillon->Suivant)
    frames.push_back(maillon->AHTexte);
  return frames;
}

hostsim::ArtHandle ModelArt(AIArtHandle art) { return hostsim::modelArt(art); }

AIArtHandle PluginArt(hostsim::ArtHandle art) { return hostsim::pluginArt(art); }

PluginTest::PluginTest() : current_(host_) {}

PluginTest::~PluginTest() = default;

void PluginTest::SetUp() {
  host_.attachPlugin(NoMessages, Resources());
  RemetAZero();
  PosDialReglages = {206, 495, 0, 0};  // where the menus put the dialog on the host's screen
  const void* basic = nullptr;
  ASSERT_EQ(host_.acquireSuite(kSPBasicSuite, kSPBasicSuiteVersion, &basic), kNoErr);
  sSPBasic = static_cast<SPBasicSuite*>(const_cast<void*>(basic));
  suites_ = std::make_unique<Suites>();
  ASSERT_EQ(suites_->Error(), kNoErr);
}

void PluginTest::TearDown() {
  for (const std::string& fault : faults()) ADD_FAILURE() << fault;
  if (sSPBasic != nullptr) VideListesTextes();
  suites_.reset();
  if (sSPBasic != nullptr) host_.releaseSuite(kSPBasicSuite, kSPBasicSuiteVersion);
  sSPBasic = nullptr;
  RemetAZero();
  HostTest::TearDown();
}

int32_t PluginTest::openDialog() {
  // "ModèleBidon"
  return sADMDialog->Modal(host_.pluginRef(), "Mod\x8F" "leBidon", 26000, 0, ValeursDefautDialogue, nullptr, 0);
}

void PluginTest::loadSettings() {
  user().cancel();
  openDialog();
}

float PluginTest::stamp() {
  Estampille();
  return static_cast<float>(document().bleed().bottom);
}

hostsim::adm::Item& PluginTest::item(int32_t id) {
  hostsim::adm::Item* item = dialog().item(id);
  if (item == nullptr) throw std::runtime_error("no item " + std::to_string(id));
  return *item;
}

void PluginTest::saveDocumentAs(const std::string& name) {
  if (!folder_) folder_ = std::make_unique<TempDir>();
  document().saveAs(*folder_ / name);
}

std::vector<std::string> PluginTest::faults() {
  std::vector<std::string> list = host_.accounting().misuses();
  for (const std::string& error : hostsim::dialogs(host_).errors()) list.push_back(error);
  return list;
}

std::vector<hostsim::ArtHandle> PluginTest::stamps() {
  std::vector<hostsim::ArtHandle> tagged;
  for (hostsim::ArtHandle art : document().matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any))
    if (document().tag(art, kNomEtiquette)) tagged.push_back(art);
  return tagged;
}

std::vector<std::string> PluginTest::stampTexts() {
  std::vector<std::string> texts;
  for (hostsim::ArtHandle art : stamps()) texts.push_back(document().textMacRoman(art));
  return texts;
}

std::string PluginTest::textOf(AIArtHandle art) { return document().textMacRoman(ModelArt(art)); }

AIRealPoint PluginTest::anchorOf(AIArtHandle art) {
  AIRealPoint anchor = {-1.0f, -1.0f};
  EXPECT_EQ(sAITextFrame->GetPointTextAnchor(art, &anchor), kNoErr);
  return anchor;
}

hostsim::TextStyle PluginTest::styleOf(AIArtHandle art) { return document().textStyle(ModelArt(art)); }

size_t PluginTest::previewDraws() {
  size_t n = 0;
  for (const auto& call : dialog().drawCalls())
    if (call.itemID == kIdApercu) ++n;
  return n;
}

}  // namespace testsupport
