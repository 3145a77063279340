// The About box: the product's picture, its version and the author line on the button.
#include "shell/DateAbout.h"

#include <cmath>

#include "shell/DateSuites.h"

namespace {

constexpr int16_t kLargeurAPropos = 510;
constexpr int16_t kHauteurAPropos = 410;
constexpr int32_t kIdBouton = 1;
constexpr ADMRect kCadreBouton{356, 25, 376, 485};
constexpr ADMPoint kCoinIcone{30, -5};
constexpr ADMRect kCadreVersion{6, 0, 26, 510};

// Mac Roman texts.
constexpr const char kTitreAPropos[] = "\xCB propos de QZV\xA5" "Estampilleur";  // À propos de QZV•Estampilleur
constexpr const char kLigneAuteur[] =
    "QZV\xA5Outils \xD0 estampilleur@qzv-outils.example";  // QZV•Outils – estampilleur@qzv-outils.example
constexpr const char kLigneVersion[] = "Version 3.3 mars 2012";

}  // namespace

ASErr AboutParDefautProc(ADMDialogRef dialog) {
  sADMDialog->SetDrawProc(dialog, AboutDraw);

  // Centred, a third of the free height down; placed anew at every opening.
  ADMRect ecran{};
  sADMBasic->GetScreenDimensions(&ecran);
  ADMRect cadre;
  cadre.top = static_cast<int16_t>((ecran.bottom - ecran.top - kHauteurAPropos) / 3);
  cadre.left = static_cast<int16_t>(std::floor((ecran.right - ecran.left - kLargeurAPropos) / 2.0));
  cadre.bottom = static_cast<int16_t>(cadre.top + kHauteurAPropos);
  cadre.right = static_cast<int16_t>(cadre.left + kLargeurAPropos);
  sADMDialog->SetBoundsRect(dialog, &cadre);

  sADMDialog->SetText(dialog, kTitreAPropos);

  ADMItemRef bouton = sADMItem->Create(dialog, kIdBouton, kADMTextPushButtonType, &kCadreBouton, nullptr, nullptr, 0);
  if (bouton != nullptr) {
    // The author line in the dialog font, centred on the button.
    sADMItem->SetFont(bouton, kADMDialogFont);
    sADMItem->SetJustify(bouton, kADMCenterJustify);
    sADMItem->SetText(bouton, kLigneAuteur);
    sADMItem->SetNotifyProc(bouton, OKAboutCBP);
  }
  return kNoErr;
}

void AboutDraw(ADMDialogRef dialog, ADMDrawerRef drawer) {
  SPPluginRef plugin = sADMDialog->GetPluginRef(dialog);
  sADMDialog->DefaultDraw(dialog, drawer);

  // Taken anew at each draw and given back at once: the box keeps nothing of its own.
  ADMIconRef icone = sADMIcon2->GetFromResource(plugin, kAboutIconID, 0);
  if (icone != nullptr) {
    sADMDrawer->DrawIcon(drawer, icone, &kCoinIcone);
    sADMIcon2->Destroy(icone);
  }

  sADMDrawer->SetADMColor(drawer, kADMBlackColor);
  sADMDrawer->DrawTextCentered(drawer, kLigneVersion, &kCadreVersion);
}

void OKAboutCBP(ADMItemRef item, ADMNotifierRef notifier) { sADMItem->DefaultNotify(item, notifier); }
