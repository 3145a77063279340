#include "EngineHost.h"

#include <unistd.h>

#include <cstring>

#include "host/IAIArtboards.h"
#include "hostsim/suites/doc_support.h"

namespace engine_test {

void ResetEngineState() {
  CaseAvecNumero = kDefautCaseAvecNumero;
  CaseAvecNom = kDefautCaseAvecNom;
  CaseAvecTaille = kDefautCaseAvecTaille;
  CaseAvecDate = kDefautCaseAvecDate;
  NomPoliceNom[0] = NomPoliceTaille[0] = NomPoliceDate[0] = '\0';
  CorpsNom = CorpsTaille = CorpsDate = kDefautCorps;
  FormatDate = kDefautFormatDate;
  InfosSuperposees = kDefautInfosSuperposees;
  InfosSurTousLesPlans = kDefautInfosSurTousLesPlans;
  strcpy(Separateur, kDefautSeparateur);
  EnHaut = kDefautEnHaut;
  EnBas = kDefautEnBas;
  EnDessous = kDefautEnDessous;

  NumeroPoliceNom = NumeroPoliceTaille = NumeroPoliceDate = 0;
  KPOLICE = 0;
  CouleurTexte = {};
  CouleurTexte.kind = kFourColor;
  CouleurTexte.c.f = {1.0f, 1.0f, 1.0f, 1.0f};
  NbrPlans = 0;
  AHGroupe = nullptr;
  PtrPremierAHTexteNumero = PtrPremierAHTexteNom = PtrPremierAHTexteTaille = PtrPremierAHTexteDate = nullptr;
  TexteNomFichier[0] = TexteNumero[0] = TexteTaille[0] = TexteDate[0] = '\0';
  PositionTexteNumero = PositionTexteNomFichier = PositionTexteTaille = PositionTexteDate = {0.0f, 0.0f};
}

hostsim::ArtHandle ModelArt(AIArtHandle art) { return hostsim::modelArt(art); }

AIArtHandle PluginArt(hostsim::ArtHandle art) { return hostsim::pluginArt(art); }

std::vector<AIArtHandle> Recorded(const MaillonAHTexte* premier) {
  std::vector<AIArtHandle> frames;
  for (const MaillonAHTexte* maillon = premier; maillon != nullptr; maillon = maillon->Suivant)
    frames.push_back(maillon->AHTexte);
  return frames;
}

EngineHost::EngineHost() : current_(host_) {}

EngineHost::~EngineHost() {
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

void EngineHost::SetUp() {
  host_.setFonts(
      std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(ESTAMPILLEUR_TEST_FONTS)));
  setDate(2012, 4, 10);
  openDocument({{600, 900}});

  const void* basic = nullptr;
  ASSERT_EQ(host_.acquireSuite(kSPBasicSuite, kSPBasicSuiteVersion, &basic), kNoErr);
  sSPBasic = static_cast<SPBasicSuite*>(const_cast<void*>(basic));
  suites_ = std::make_unique<Suites>();
  ASSERT_EQ(suites_->Error(), kNoErr);
  ResetEngineState();
}

void EngineHost::TearDown() {
  if (sSPBasic != nullptr) VideListesTextes();
  suites_.reset();
  if (sSPBasic != nullptr) host_.releaseSuite(kSPBasicSuite, kSPBasicSuiteVersion);
  sSPBasic = nullptr;
  ResetEngineState();
  EXPECT_TRUE(host_.allGivenBack()) << host_.outstanding();
}

void EngineHost::openDocument(const std::vector<hostsim::PageSize>& artboards) {
  host_.setDocument(std::make_unique<hostsim::Document>(hostsim::Document::create(artboards)));
}

void EngineHost::saveDocumentAs(const std::string& name) {
  if (folder_.empty()) {
    static int serial = 0;
    folder_ = std::filesystem::temp_directory_path() /
              ("engine_tests_" + std::to_string(getpid()) + "_" + std::to_string(++serial));
    std::filesystem::create_directories(folder_);
  }
  document().saveAs(folder_ / name);
}

void EngineHost::setDate(int year, int month, int day) { host_.clock().set({year, month, day}); }

AIReal EngineHost::stamp() {
  AIMatchingArtSpec unlockedTexts = {kTextFrameArt, kArtLocked, 0};
  AIArtHandle** matches = nullptr;
  int32_t count = 0;
  if (sAIMatchingArt->GetMatchingArt(&unlockedTexts, 1, &matches, &count) == kNoErr && matches != nullptr) {
    for (int32_t i = 0; i < count; ++i) {
      AIArtHandle art = (*matches)[i];
      if (sTag->GetTag(art, kNomEtiquette, nullptr) == kNoErr && sAIArt->ValidArt(art, true))
        sAIArt->DisposeArt(art);
    }
    sAIMDMemory->MdMemoryDisposeHandle(reinterpret_cast<AIMdMemoryHandle>(matches));
  }

  ASErr groupe = CreationGroupe();
  {
    ai::ArtboardList plans;
    sAIArtboard->GetCount(plans.GetHandle(), &NbrPlans);
  }
  VideListesTextes();
  if (groupe != kNoErr) return -1.0f;

  AIReal bleed = 0.0f;
  if (InfosSurTousLesPlans) {
    for (int32_t i = 0; i < NbrPlans; ++i) bleed = CalculeInfosPourUnPlan(i);
  } else {
    ai::ArtboardList plans;
    int32_t active = 0;
    sAIArtboard->GetActive(plans.GetHandle(), &active);
    bleed = CalculeInfosPourUnPlan(active);
  }
  return bleed;
}

std::vector<hostsim::ArtHandle> EngineHost::stamps() {
  std::vector<hostsim::ArtHandle> tagged;
  for (hostsim::ArtHandle art : document().matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any))
    if (document().tag(art, kNomEtiquette)) tagged.push_back(art);
  return tagged;
}

std::string EngineHost::textOf(AIArtHandle art) { return document().textMacRoman(ModelArt(art)); }

AIRealPoint EngineHost::anchorOf(AIArtHandle art) {
  AIRealPoint anchor = {-1.0f, -1.0f};
  EXPECT_EQ(sAITextFrame->GetPointTextAnchor(art, &anchor), kNoErr);
  return anchor;
}

hostsim::TextStyle EngineHost::styleOf(AIArtHandle art) { return document().textStyle(ModelArt(art)); }

std::vector<std::string> EngineHost::alerts() {
  std::vector<std::string> texts;
  for (const hostsim::Alert& alert : host_.alerts()) texts.push_back(alert.text);
  return texts;
}

}  // namespace engine_test
