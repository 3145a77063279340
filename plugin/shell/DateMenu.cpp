// The two menu items: the settings command in the tools submenu "QZV•Outils" under the
// host's "Tool Palettes", the About item in the About submenu; and the menu command.
#include <cmath>
#include <cstring>

#include "dialog/DateDialogue.h"
#include "engine/Reglages.h"
#include "host/IAIUnicodeString.h"
#include "shell/DateAbout.h"
#include "shell/DatePlugIn.h"
#include "shell/DateSuites.h"
#include "shell/SDKAboutPluginsHelper.h"

namespace {

// Mac Roman texts.
constexpr const char kGroupeOutils[] = "QZV\xA5Outils";                             // QZV•Outils
constexpr const char kCommandeReglages[] = "QZV\xA5" "Estampilleur\xC9";            // QZV•Estampilleur…
constexpr const char kGroupeAPropos[] = "\xCB propos des QZV\xA5Outils\xC9";        // À propos des QZV•Outils…
constexpr const char kNomDialogueReglages[] = "Mod\x8F" "leBidon";                  // ModèleBidon
constexpr const char kNomDialogueAPropos[] = "About";

constexpr int32_t kDialogueReglagesID = 26000;
constexpr int32_t kOptionsGroupeOutils = 0;
constexpr int32_t kOptionsCommande = 1;
constexpr int32_t kOptionsSousMenu = 1;

// Half of a free width, rounded down: the dialog is centred even on a screen too narrow for it.
int16_t MoitieVersLeBas(int largeur) { return static_cast<int16_t>(std::floor(largeur / 2.0)); }

}  // namespace

ASErr DatePlugIn::AddMenus(SPInterfaceMessage* message) {
  SDKAboutPluginsHelper aboutHelper;
  aboutHelper.AddAboutPluginsMenuItem(message, kGroupeAPropos,
                                      ai::UnicodeString(kGroupeAPropos, kAIPlatformCharacterEncoding),
                                      kCommandeReglages, &fAboutPluginMenu);

  // The tools group, searched from the last group: it may have been made by a sibling.
  int32_t nombreGroupes = 0;
  ASErr error = sAIMenu->CountMenuGroups(&nombreGroupes);
  if (error != kNoErr) return error;
  bool groupeExiste = false;
  for (int32_t i = nombreGroupes - 1; i >= 0; --i) {
    AIMenuGroup groupe = nullptr;
    error = sAIMenu->GetNthMenuGroup(i, &groupe);
    if (error != kNoErr) return error;
    const char* nom = nullptr;
    error = sAIMenu->GetMenuGroupName(groupe, &nom);
    if (error != kNoErr) return error;
    if (nom != nullptr && std::strcmp(nom, kGroupeOutils) == 0) {
      groupeExiste = true;
      break;
    }
  }

  if (!groupeExiste) {
    ai::UnicodeString texte(kGroupeOutils, kAIPlatformCharacterEncoding);
    AIPlatformAddMenuItemDataUS donnees{kToolPalettesMenuGroup, texte.GetHandle()};
    error = sAIMenu->AddMenuItem(message->d.self, kGroupeOutils, &donnees, kOptionsGroupeOutils, &fEstampilleurMenu);
    if (error != kNoErr) return error;
    AIMenuGroup groupe = nullptr;
    error = sAIMenu->AddMenuGroupAsSubMenu(kGroupeOutils, kOptionsSousMenu, fEstampilleurMenu, &groupe);
    if (error != kNoErr) return error;
  }

  ai::UnicodeString texte(kCommandeReglages, kAIPlatformCharacterEncoding);
  AIPlatformAddMenuItemDataUS donnees{kGroupeOutils, texte.GetHandle()};
  error = sAIMenu->AddMenuItem(message->d.self, kCommandeReglages, &donnees, kOptionsCommande, &fEstampilleurMenu);

  // First position of the settings dialog: centred, a third of the free height down.
  ADMRect ecran{};
  sADMBasic->GetScreenDimensions(&ecran);
  PosDialReglages.top = static_cast<int16_t>((ecran.bottom - ecran.top - kHauteurDialogue) / 3);
  PosDialReglages.left = MoitieVersLeBas(ecran.right - ecran.left - kLargeurDialogue);

  return error;
}

ASErr DatePlugIn::GoMenuItem(AIMenuMessage* message) {
  ASErr error = kNoErr;
  if (fAboutPluginMenu != nullptr && message->menuItem == fAboutPluginMenu) {
    // The modal result is the item that closed the box, not an error.
    sADMDialog->Modal(message->d.self, kNomDialogueAPropos, kAboutDialogID, 0, AboutParDefautProc, nullptr, 0);
  } else {
    if (fEstampilleurMenu != nullptr && message->menuItem == fEstampilleurMenu)
      PosDialReglages.bottom = static_cast<int16_t>(PosDialReglages.top + kHauteurDialogue);
    PosDialReglages.right = static_cast<int16_t>(PosDialReglages.left + kLargeurDialogue);
    SPPluginRef plugin = nullptr;
    // The message names this plug-in too: a failed query must not cost the user the dialog.
    if (sSPAccess->GetCurrentPlugin(&plugin) != kNoErr || plugin == nullptr) plugin = message->d.self;
    // OK and Cancel do all the work before the modal call returns.
    sADMDialog->Modal(plugin, kNomDialogueReglages, kDialogueReglagesID, 0, ValeursDefautDialogue, nullptr, 0);
  }
  return error;
}
