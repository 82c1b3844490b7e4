// The names of the window's commands: each names one QAction, shared by its menu entry and its
// toolbar button, which bears the same name.
#pragma once

namespace fotavel::commands {

// Files and the application.
inline constexpr char kExplorer[] = "CacheExplorer";
inline constexpr char kEnregistrer[] = "SauvPhoto";
inline constexpr char kImprimer[] = "mnuFile_3";
inline constexpr char kQuitter[] = "QuitterComm";
inline constexpr char kRetourEditeur[] = "AnnulerEd";
inline constexpr char kImporterEditeur[] = "OkEd";

// Editing.
inline constexpr char kAnnuler[] = "BtAnnuler";
inline constexpr char kRetablir[] = "Retablir";
inline constexpr char kCopier[] = "mnuEdit_1";
inline constexpr char kColler[] = "mnuEdit_2";
inline constexpr char kRetailler[] = "mnuEdit_4";
inline constexpr char kRecadrer[] = "Recadrer";
inline constexpr char kRedresser[] = "mnuRedresser";
inline constexpr char kYeuxRouges[] = "mnuYeuxRouges";
inline constexpr char kProprietes[] = "mnuEdit_6";

// The photo commands of the toolbar (and of the menus that share them).
inline constexpr char kMasquer[] = "cmdMasque";
inline constexpr char kNette[] = "Nette";
inline constexpr char kFloue[] = "Floue";
inline constexpr char kLogo[] = "Logo";
inline constexpr char kCiel[] = "cielCmd";
inline constexpr char kDroite[] = "PivotDrt";
inline constexpr char kGauche[] = "PivotGche";
inline constexpr char kColorer[] = "SaturationPlus";
inline constexpr char kTernir[] = "SaturationMoins";
inline constexpr char kClair[] = "LumierePlus";
inline constexpr char kSombre[] = "LumiereMoins";
inline constexpr char kFormatWeb[] = "TaillWeb";

// The plain buttons kept hidden, and the combination.
inline constexpr char kDiffusion[] = "Diffuse";
inline constexpr char kContours[] = "TrouvContours";
inline constexpr char kPhotocopie[] = "CoupeNB";
inline constexpr char kNegatif[] = "Negatif";
inline constexpr char kPlume[] = "Pcallig";
inline constexpr char kGris[] = "NoirBlanc";
inline constexpr char kReglages[] = "mnuReglages";
inline constexpr char kAmeliorationAuto[] = "mnuAmeliorationAuto";
inline constexpr char kCombiner[] = "Combiner";

// The filters of the menus.
inline constexpr char kSoften[] = "mnuLowPass_0";
inline constexpr char kSoftenMore[] = "mnuLowPass_1";
inline constexpr char kBlurMore[] = "mnuLowPass_3";
inline constexpr char kSharpenMore[] = "mnuHighPass_1";
inline constexpr char kUnsharp[] = "mnuHighPass_2";
inline constexpr char kEmboss[] = "mnuSpecial_0";
inline constexpr char kMinimum[] = "mnuSpecial_4";
inline constexpr char kMedian[] = "mnuSpecial_5";
inline constexpr char kMaximum[] = "mnuSpecial_6";

// Settings, windows and help.
inline constexpr char kVotreLogo[] = "mnuParametrage_0";
inline constexpr char kHorizontales[] = "mnuWindow_0";
inline constexpr char kVerticales[] = "mnuWindow_1";
inline constexpr char kCascade[] = "mnuWindow_2";
inline constexpr char kIcones[] = "mnuWindow_3";
inline constexpr char kAPropos[] = "mnuAide_0";

}  // namespace fotavel::commands
