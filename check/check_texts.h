#pragma once
// Every text skervo-check writes, as Windows-1252 bytes. Accented letters are
// written as \x escapes so that the source file's encoding never leaks out;
// \xA0 is the non-breaking space that French puts before : ; ! ?, inside
// guillemets and between a number and its unit.
#include <string_view>

namespace skervo::check_texts {

inline constexpr std::string_view kUsage =
    "Utilisation\xA0: skervo-check [/Expliquer] [/Syntaxe] [/Reseau] FICHIER...\n"
    "  v\xE9rifie chaque script avant de le d\xE9ployer, sans rien lancer.\n"
    "  FICHIER peut contenir les caract\xE8res g\xE9n\xE9riques * et ?.\n"
    "              skervo-check /Lsp [/Syntaxe] [/Reseau]\n"
    "  sert les \xE9"
    "diteurs par le protocole LSP, sur l'entr\xE9"
    "e et la sortie standard.\n"
    "\n"
    "  /Expliquer  dit en une phrase ce que fera chaque ligne\n"
    "  /Syntaxe    s'en tient au texte (ne regarde pas cette machine)\n"
    "  /Reseau     v\xE9rifie aussi les chemins r\xE9seau (\\\\serveur\\...) et relatifs\n"
    "\n"
    "Chaque constat\xA0: FICHIER:LIGNE: erreur|attention|remarque: message [code]\n"
    "Code de sortie\xA0: 0 rien ou des remarques, 1 erreur ou attention,\n"
    "  2 aucun fichier donn\xE9, fichier illisible ou rapport impossible \xE0 \xE9"
    "crire.\n";

inline constexpr std::string_view kError = "erreur";
inline constexpr std::string_view kWarning = "attention";
inline constexpr std::string_view kRemark = "remarque";

inline constexpr std::string_view kUnreadable = "fichier introuvable ou illisible";
inline constexpr std::string_view kNoMatch = "aucun fichier ne correspond \xE0 ce mod\xE8le";

inline constexpr std::string_view kQuotes =
    "chemin avec des blancs sans guillemets\xA0: le programme lanc\xE9 serait ";
inline constexpr std::string_view kRelativePath =
    "chemin sans lecteur\xA0: il d\xE9pend du dossier courant, et \xE0 d\xE9"
    "faut ce texte est cherch\xE9 dans les titres des fen\xEAtres";
inline constexpr std::string_view kFinalPause =
    "pause sur la derni\xE8re ligne\xA0: elle est saut\xE9"
    "e";
inline constexpr std::string_view kFinalWait =
    "@programme sur la derni\xE8re ligne\xA0: il est lanc\xE9 sans attendre sa fin";
inline constexpr std::string_view kCountWithText =
    "texte apr\xE8s la dur\xE9"
    "e\xA0: la ligne lance le programme ";
inline constexpr std::string_view kWindowCommandWithText =
    "- et + ne sont des commandes que seuls sur leur ligne\xA0: celle-ci est lanc\xE9"
    "e comme un programme";
inline constexpr std::string_view kComment =
    "# au milieu d'une ligne n'est pas un commentaire\xA0: il fait partie de la commande";
inline constexpr std::string_view kVariable =
    " sera remplac\xE9 par sa valeur sur le poste qui ex\xE9"
    "cute le script";
inline constexpr std::string_view kVariableUnknown =
    "\xA0: ce poste ne conna\xEEt pas cette variable\xA0; la ligne la garde telle quelle";
inline constexpr std::string_view kNotCarriedOutHere =
    "ne serait pas ex\xE9"
    "cut\xE9"
    "e sur ce poste\xA0: ";
inline constexpr std::string_view kVariableUnclosed =
    "\xA0: aucun % ne ferme cette variable\xA0; la ligne la garde telle quelle";
inline constexpr std::string_view kIgnoredAfter = "texte ignor\xE9 apr\xE8s ";
inline constexpr std::string_view kColon = "\xA0: ";
inline constexpr std::string_view kBlankBeforeHide =
    "un blanc avant ,-\xA0: la fen\xEAtre ne sera pas cach\xE9"
    "e";
inline constexpr std::string_view kEntryNameRefused =
    "guillemet ou caract\xE8re de contr\xF4le dans le nom de connexion\xA0: Skervo n'ouvrira pas "
    "la bo\xEEte de connexion";
inline constexpr std::string_view kDialWithoutEntry =
    "&& sans nom d'entr\xE9"
    "e ne fait rien";
inline constexpr std::string_view kDialogWithoutEntry =
    "& sans nom d'entr\xE9"
    "e ouvre la bo\xEEte de connexion sans entr\xE9"
    "e";
inline constexpr std::string_view kUtf16 =
    "fichier en UTF-16\xA0: enregistrez-le en ANSI (Windows-1252) ou en UTF-8";
inline constexpr std::string_view kUnknownBytes =
    "octets qui ne sont ni du Windows-1252 ni de l'UTF-8";
inline constexpr std::string_view kLostCharacters =
    "caract\xE8res que la page de codes de Windows n'a pas\xA0: Skervo les lit comme des "
    "\xAB\xA0?\xA0\xBB";
inline constexpr std::string_view kLoneCarriageReturn =
    "retour chariot (CR) sans saut de ligne (LF)\xA0: Skervo lit cette ligne et la suivante "
    "comme une seule";
inline constexpr std::string_view kTab =
    "tabulation apr\xE8s le programme\xA0: seul un espace le s\xE9pare de ses arguments";
inline constexpr std::string_view kAfterEnd = "texte apr\xE8s un Ctrl-Z\xA0: il n'est jamais lu";
inline constexpr std::string_view kNothingDone =
    "le script n'ex\xE9"
    "cute rien";
inline constexpr std::string_view kNeedsRights =
    "commande de service\xA0: il faut les droits d'administrateur";

inline constexpr std::string_view kNoProgram = "la ligne ne nomme aucun programme";
inline constexpr std::string_view kNoService = "la commande de service ne nomme aucun service";
inline constexpr std::string_view kNoApplication = "la ligne ne nomme rien \xE0 fermer";
inline constexpr std::string_view kBlankAfterAt =
    "blanc apr\xE8s @\xA0: le programme n'est pas trouv\xE9";
inline constexpr std::string_view kNoFolder =
    "programme sans dossier\xA0: il ne d\xE9marre qu'avec son chemin complet, ";
inline constexpr std::string_view kNegativePause = "pause n\xE9gative\xA0: elle n'attend pas";

inline constexpr std::string_view kMissing = "introuvable sur cette machine\xA0: ";
inline constexpr std::string_view kNotAProgram =
    "pas un programme, la ligne vise toute application qui l'a charg\xE9 (presque toutes "
    "pour une biblioth\xE8que de Windows)\xA0: ";
inline constexpr std::string_view kUnknownService = "service inconnu sur cette machine\xA0: ";
inline constexpr std::string_view kUnknownEntry =
    "entr\xE9"
    "e absente du carnet des connexions\xA0: ";
inline constexpr std::string_view kEntryNotChecked =
    "entr\xE9"
    "e non v\xE9rifi\xE9"
    "e, pour ne pas d\xE9marrer le service Gestionnaire des connexions d'acc\xE8s \xE0 "
    "distance\xA0: ";
inline constexpr std::string_view kNetworkNotProbed = "non v\xE9rifi\xE9 (r\xE9seau)\xA0: ";
inline constexpr std::string_view kRelativeNotProbed = "non v\xE9rifi\xE9 (chemin relatif)\xA0: ";
inline constexpr std::string_view kNoDialupLibrary =
    "pas de biblioth\xE8que d'acc\xE8s \xE0 distance (rasapi32.dll)\xA0: Skervo s'arr\xEAtera \xE0 "
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
inline constexpr std::string_view kSeconds = "\xA0s";
inline constexpr std::string_view kSkippedPause =
    "rien\xA0: la pause de la derni\xE8re ligne est saut\xE9"
    "e";
inline constexpr std::string_view kClosesApplication = "ferme l'application ";
inline constexpr std::string_view kKillsApplication = "tue sans confirmation l'application ";
inline constexpr std::string_view kClosesTitled =
    "ferme les fen\xEAtres dont le titre contient \xAB\xA0";
inline constexpr std::string_view kQuoteEnd = "\xA0\xBB";
inline constexpr std::string_view kHidesWindow = "cache la fen\xEAtre de suivi";
inline constexpr std::string_view kShowsWindow = "montre la fen\xEAtre de suivi";
inline constexpr std::string_view kDials = "compose sans bo\xEEte la connexion \xAB\xA0";
inline constexpr std::string_view kOpensDialog = "ouvre la bo\xEEte de connexion pour \xAB\xA0";
inline constexpr std::string_view kWaitsForConnection = "attend qu'une connexion soit \xE9tablie";
inline constexpr std::string_view kWaitsForNoConnection = "attend qu'il n'y ait plus de connexion";
inline constexpr std::string_view kWindowHiddenMeanwhile =
    ", fen\xEAtre de suivi cach\xE9"
    "e";
inline constexpr std::string_view kHangsUp = "raccroche toutes les connexions";
inline constexpr std::string_view kNothing = "rien";
inline constexpr std::string_view kThen = "\xA0; ";
inline constexpr std::string_view kAtTheEndCloses =
    "\xE0 la fin du script, demande la fermeture des fen\xEAtres de ";
inline constexpr std::string_view kAtTheEndKills = "\xE0 la fin du script, tue sans confirmation ";
inline constexpr std::string_view kAfterDisconnection =
    " (apr\xE8s la fin de la connexion \xAB\xA0";
inline constexpr std::string_view kAfterDisconnectionEnd = "\xA0\xBB)";

// /Lsp: what completion says of each form at the start of a line.
inline constexpr std::string_view kFormAt =
    "@30 attend 30\xA0s\xA0; @programme lance le programme et attend sa fin";
inline constexpr std::string_view kFormLaunchToClose =
    ">programme lance le programme, dont la fin du script fermera les fen\xEAtres "
    "(un programme en mode console n'en a pas, et reste ouvert)";
inline constexpr std::string_view kFormLaunchToKill =
    ">>programme lance le programme, que la fin du script tuera sans confirmation";
inline constexpr std::string_view kFormClose =
    "<application ferme l'application, d\xE9sign\xE9"
    "e par le chemin de son .exe ou par un texte du titre de ses fen\xEAtres";
inline constexpr std::string_view kFormKill = "<<application tue l'application sans confirmation";
inline constexpr std::string_view kFormDialog =
    "&entr\xE9"
    "e ouvre la bo\xEEte de connexion de cette entr\xE9"
    "e du carnet";
inline constexpr std::string_view kFormDial =
    "&&entr\xE9"
    "e compose cette connexion sans bo\xEEte";
inline constexpr std::string_view kFormWaitForConnection =
    "&- attend qu'une connexion soit \xE9tablie";
inline constexpr std::string_view kFormWaitForNoConnection =
    "&> attend qu'il n'y ait plus de connexion\xA0; &>,- cache la fen\xEAtre de suivi "
    "pendant l'attente";
inline constexpr std::string_view kFormHangUp = "&< raccroche toutes les connexions";
inline constexpr std::string_view kFormStartService =
    "NETSTART service d\xE9marre le service (droits d'administrateur)";
inline constexpr std::string_view kFormStopService =
    "NETSTOP service arr\xEAte le service (droits d'administrateur)";
inline constexpr std::string_view kFormHide = "- cache la fen\xEAtre de suivi";
inline constexpr std::string_view kFormShow = "+ montre la fen\xEAtre de suivi";
inline constexpr std::string_view kFormComment = "# commentaire, que Skervo ne lit pas";
inline constexpr std::string_view kServiceItem = "service de ce PC";
inline constexpr std::string_view kEntryItem =
    "entr\xE9"
    "e du carnet des connexions";

// /Lsp: the quick fixes.
inline constexpr std::string_view kFixQuotes = "Mettre le chemin entre guillemets";
inline constexpr std::string_view kFixComment = "Mettre le commentaire sur sa propre ligne";
inline constexpr std::string_view kFixFinalPause = "Retirer la pause de la derni\xE8re ligne";

}  // namespace skervo::check_texts
