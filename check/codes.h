#pragma once
// The fixed codes of the findings, which scripts and editors filter on.
#include <string_view>

namespace skervo::codes {

// In the text alone.
inline constexpr std::string_view kQuotes = "guillemets";
inline constexpr std::string_view kRelativePath = "chemin-relatif";
inline constexpr std::string_view kFinalPause = "pause-finale";
inline constexpr std::string_view kFinalWait = "attente-finale";
inline constexpr std::string_view kExtraText = "texte-en-trop";
inline constexpr std::string_view kComment = "commentaire";
inline constexpr std::string_view kVariable = "variable";
inline constexpr std::string_view kConnection = "connexion";
inline constexpr std::string_view kEntryName = "nom-de-connexion";
inline constexpr std::string_view kEncoding = "encodage";
inline constexpr std::string_view kLostCharacters = "page-de-codes";
inline constexpr std::string_view kLoneCarriageReturn = "fin-de-ligne";
inline constexpr std::string_view kTab = "tabulation";
inline constexpr std::string_view kAfterEnd = "apres-fin";
inline constexpr std::string_view kEmpty = "vide";
inline constexpr std::string_view kRights = "droits";
inline constexpr std::string_view kNoName = "sans-nom";
inline constexpr std::string_view kBlankAfterAt = "blanc-apres-arobase";
inline constexpr std::string_view kNoFolder = "sans-dossier";
inline constexpr std::string_view kNegativePause = "pause-negative";
inline constexpr std::string_view kUnreadable = "illisible";
inline constexpr std::string_view kNoMatch = "aucun-fichier";

// On the machine the checker runs on.
inline constexpr std::string_view kMissing = "introuvable";
inline constexpr std::string_view kUnknownVariable = "variable-inconnue";
inline constexpr std::string_view kNotCarriedOut = "non-executable";
inline constexpr std::string_view kNotAProgram = "pas-un-programme";
inline constexpr std::string_view kUnknownService = "service-inconnu";
inline constexpr std::string_view kUnknownEntry = "entree-inconnue";
inline constexpr std::string_view kEntryNotChecked = "entree-non-verifiee";
inline constexpr std::string_view kNoLibrary = "bibliotheque";
inline constexpr std::string_view kNetworkNotProbed = "reseau";

}  // namespace skervo::codes
