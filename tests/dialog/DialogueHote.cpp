#include "DialogueHote.h"

#include <cstring>

#include "hostsim/model/clock.h"
#include "hostsim/model/fonts.h"

namespace dialog_test {

namespace {

ASErr SansMessages(const char*, const char*, void*) { return kNoErr; }

hostsim::Resources Ressources() {
  hostsim::Resources ressources;
  ressources.icons[kIconeCorps] = {16, 13,
                                   "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"13\">"
                                   "<rect x=\"1\" y=\"1\" width=\"14\" height=\"11\"/></svg>"};
  return ressources;
}

}  // namespace

void RemetAZero() {
  CaseAvecNumero = CaseAvecNom = CaseAvecTaille = CaseAvecDate = 0;
  std::memset(NomPoliceNom, 0, sizeof NomPoliceNom);
  std::memset(NomPoliceTaille, 0, sizeof NomPoliceTaille);
  std::memset(NomPoliceDate, 0, sizeof NomPoliceDate);
  CorpsNom = CorpsTaille = CorpsDate = 0.0;
  FormatDate = 0;
  InfosSuperposees = InfosSurTousLesPlans = 0;
  std::memset(Separateur, 0, sizeof Separateur);
  EnHaut = EnBas = EnDessous = 0;
  NumeroPoliceNom = NumeroPoliceTaille = NumeroPoliceDate = 0;
  KPOLICE = 0;
  CouleurTexte = {};
  PosDialReglages = {206, 495, 0, 0};
  NbrPlans = 0;
  AHGroupe = nullptr;
  PtrPremierAHTexteNumero = PtrPremierAHTexteNom = PtrPremierAHTexteTaille = PtrPremierAHTexteDate = nullptr;
}

DialogueHote::DialogueHote() : current_(host_) {}

DialogueHote::~DialogueHote() = default;

void DialogueHote::SetUp() {
  host_.attachPlugin(SansMessages, Ressources());
  host_.setFonts(
      std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(ESTAMPILLEUR_TEST_FONTS)));
  host_.clock().set({2012, 4, 10});
  ouvreDocument({{600, 900}});

  const void* basic = nullptr;
  ASSERT_EQ(host_.acquireSuite(kSPBasicSuite, kSPBasicSuiteVersion, &basic), kNoErr);
  sSPBasic = static_cast<SPBasicSuite*>(const_cast<void*>(basic));
  suites_ = std::make_unique<Suites>();
  ASSERT_EQ(suites_->Error(), kNoErr);
  RemetAZero();
}

void DialogueHote::TearDown() {
  // A script the dialog refused, or a procedure that misused the host, fails every test.
  for (const std::string& faute : fautes()) ADD_FAILURE() << faute;
  if (sSPBasic != nullptr) VideListesTextes();
  suites_.reset();
  if (sSPBasic != nullptr) host_.releaseSuite(kSPBasicSuite, kSPBasicSuiteVersion);
  sSPBasic = nullptr;
  RemetAZero();
  EXPECT_TRUE(host_.allGivenBack()) << host_.outstanding();
}

int32_t DialogueHote::ouvre() {
  // "ModèleBidon"
  return sADMDialog->Modal(host_.pluginRef(), "Mod\x8F" "leBidon", 26000, 0, ValeursDefautDialogue, nullptr, 0);
}

hostsim::adm::Item& DialogueHote::element(int32_t id) {
  hostsim::adm::Item* item = dialogue().item(id);
  if (item == nullptr) throw std::runtime_error("no item " + std::to_string(id));
  return *item;
}

void DialogueHote::ouvreDocument(const std::vector<hostsim::PageSize>& plans) {
  host_.setDocument(std::make_unique<hostsim::Document>(hostsim::Document::create(plans)));
}

std::vector<std::string> DialogueHote::fautes() {
  std::vector<std::string> liste = host_.accounting().misuses();
  for (const std::string& erreur : hostsim::dialogs(host_).errors()) liste.push_back(erreur);
  return liste;
}

std::vector<std::string> DialogueHote::alertes() {
  std::vector<std::string> textes;
  for (const hostsim::Alert& alerte : host_.alerts()) textes.push_back(alerte.text);
  return textes;
}

std::vector<std::string> DialogueHote::estampilles() {
  std::vector<std::string> textes;
  for (hostsim::ArtHandle art : document().matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any))
    if (document().tag(art, kNomEtiquette)) textes.push_back(document().textMacRoman(art));
  return textes;
}

size_t DialogueHote::dessinsApercu() {
  size_t n = 0;
  for (const auto& appel : dialogue().drawCalls())
    if (appel.itemID == kIdApercu) ++n;
  return n;
}

}  // namespace dialog_test
