#pragma once
// Every text skervo-check writes, as Windows-1252 bytes. Accented letters are
// written as \x escapes so that the source file's encoding never leaks out.
#include <string_view>

namespace skervo::check_texts {

inline constexpr std::string_view kUsage =
    "Usage : skervo-check [/Expliquer] [/Syntaxe] FICHIER...\n"
    "  v\xE9rifie chaque script avant de le d\xE9ployer, sans rien lancer.\n"
    "\n"
    "  /Expliquer  dit en une phrase ce que fera chaque ligne\n"
    "  /Syntaxe    s'en tient au texte (ne regarde pas cette machine)\n"
    "\n"
    "Chaque constat : FICHIER:LIGNE: erreur|attention|remarque: message [code]\n"
    "Code de sortie : 0 rien ou des remarques, 1 erreur ou attention, 2 fichier illisible.\n";

inline constexpr std::string_view kError = "erreur";
inline constexpr std::string_view kWarning = "attention";
inline constexpr std::string_view kRemark = "remarque";
inline constexpr std::string_view kAtEnd = "fin";

inline constexpr std::string_view kUnreadable = "fichier introuvable ou illisible";

inline constexpr std::string_view kQuotes =
    "chemin avec des blancs sans guillemets : le programme lanc\xE9 serait ";
inline constexpr std::string_view kRelativePath =
    "chemin sans lecteur : il d\xE9pend du dossier courant, et \xE0 d\xE9"
    "faut ce texte est cherch\xE9 dans les titres des fen\xEAtres";
inline constexpr std::string_view kFinalPause =
    "pause sur la derni\xE8re ligne : elle est saut\xE9"
    "e";
inline constexpr std::string_view kFinalWait =
    "@programme sur la derni\xE8re ligne : il est lanc\xE9 sans attendre sa fin";
inline constexpr std::string_view kCountWithText =
    "texte apr\xE8s la dur\xE9"
    "e : la ligne lance le programme ";
inline constexpr std::string_view kWindowCommandWithText =
    "- et + ne sont des commandes que seuls sur leur ligne : celle-ci est lanc\xE9"
    "e comme un programme";
inline constexpr std::string_view kComment =
    "# au milieu d'une ligne n'est pas un commentaire : il fait partie de la commande";
inline constexpr std::string_view kVariable = " n'est jamais remplac\xE9 par sa valeur";
inline constexpr std::string_view kIgnoredAfter = "texte ignor\xE9 apr\xE8s ";
inline constexpr std::string_view kBlankBeforeHide =
    "un blanc avant ,- : la fen\xEAtre ne sera pas cach\xE9"
    "e";
inline constexpr std::string_view kDialWithoutEntry =
    "&& sans nom d'entr\xE9"
    "e ne fait rien";
inline constexpr std::string_view kDialogWithoutEntry =
    "& sans nom d'entr\xE9"
    "e ouvre la bo\xEEte de connexion sans entr\xE9"
    "e";
inline constexpr std::string_view kEntryWithBlanks =
    "nom d'entr\xE9"
    "e avec des blancs : la bo\xEEte de connexion le re\xE7oit sans guillemets";
inline constexpr std::string_view kUtf16 =
    "fichier en UTF-16 : enregistrez-le en ANSI (Windows-1252) ou en UTF-8";
inline constexpr std::string_view kUnknownBytes =
    "octets qui ne sont ni du Windows-1252 ni de l'UTF-8";
inline constexpr std::string_view kAfterEnd = "texte apr\xE8s un Ctrl-Z : il n'est jamais lu";
inline constexpr std::string_view kNothingDone =
    "le script n'ex\xE9"
    "cute rien";
inline constexpr std::string_view kNeedsRights =
    "commande de service : il faut les droits d'administrateur";

inline constexpr std::string_view kNoProgram = "la ligne ne nomme aucun programme";
inline constexpr std::string_view kNoService = "la commande de service ne nomme aucun service";
inline constexpr std::string_view kNoApplication = "la ligne ne nomme rien \xE0 fermer";
inline constexpr std::string_view kBlankAfterAt =
    "blanc apr\xE8s @ : le programme n'est pas trouv\xE9";
inline constexpr std::string_view kNoFolder =
    "programme sans dossier : il ne d\xE9marre qu'avec son chemin complet, ";
inline constexpr std::string_view kNegativePause = "pause n\xE9gative : elle n'attend pas";

inline constexpr std::string_view kMissing = "introuvable sur cette machine : ";
inline constexpr std::string_view kUnknownService = "service inconnu sur cette machine : ";
inline constexpr std::string_view kUnknownEntry =
    "entr\xE9"
    "e absente de l'annuaire : ";
inline constexpr std::string_view kNoDialupLibrary =
    "pas de biblioth\xE8que d'acc\xE8s \xE0 distance (rasapi32.dll) : Skervo s'arr\xEAtera \xE0 "
    "cette ligne";

// /Expliquer
inline constexpr std::string_view kLaunches = "lance ";
inline constexpr std::string_view kAndWaits = " et attend sa fin";
inline constexpr std::string_view kWithoutWaiting = " sans attendre sa fin (derni\xE8re ligne)";
inline constexpr std::string_view kOpens = "ouvre ";
inline constexpr std::string_view kWithDefaultAction =
    " par son action par d\xE9"
    "faut";
inline constexpr std::string_view kStartsService = "d\xE9marre le service ";
inline constexpr std::string_view kStopsService = "arr\xEAte le service ";
inline constexpr std::string_view kAndWaitsForIt = " et attend qu'il y soit";
inline constexpr std::string_view kWaitsSeconds = "attend ";
inline constexpr std::string_view kSeconds = " s";
inline constexpr std::string_view kSkippedPause =
    "rien : la pause de la derni\xE8re ligne est saut\xE9"
    "e";
inline constexpr std::string_view kClosesApplication = "ferme l'application ";
inline constexpr std::string_view kKillsApplication = "tue sans confirmation l'application ";
inline constexpr std::string_view kClosesTitled =
    "ferme les fen\xEAtres dont le titre contient \xAB ";
inline constexpr std::string_view kQuoteEnd = " \xBB";
inline constexpr std::string_view kHidesWindow = "cache la fen\xEAtre de suivi";
inline constexpr std::string_view kShowsWindow = "montre la fen\xEAtre de suivi";
inline constexpr std::string_view kDials = "compose sans bo\xEEte la connexion \xAB ";
inline constexpr std::string_view kAlreadyDialled =
    "rien : la connexion est d\xE9j\xE0 demand\xE9"
    "e, \xAB ";
inline constexpr std::string_view kOpensDialog = "ouvre la bo\xEEte de connexion pour \xAB ";
inline constexpr std::string_view kWaitsForConnection = "attend qu'une connexion soit \xE9tablie";
inline constexpr std::string_view kWaitsForNoConnection = "attend qu'il n'y ait plus de connexion";
inline constexpr std::string_view kWindowHiddenMeanwhile =
    ", fen\xEAtre de suivi cach\xE9"
    "e";
inline constexpr std::string_view kHangsUp = "raccroche toutes les connexions";
inline constexpr std::string_view kNothing = "rien";
inline constexpr std::string_view kAtTheEndCloses = "\xE0 la fin du script, ferme ";
inline constexpr std::string_view kAtTheEndKills = "\xE0 la fin du script, tue sans confirmation ";
inline constexpr std::string_view kAfterDisconnection = " (apr\xE8s la fin de la connexion \xAB ";
inline constexpr std::string_view kAfterDisconnectionEnd = " \xBB)";

}  // namespace skervo::check_texts
