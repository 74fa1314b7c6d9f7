#pragma once
// Every text the user sees, as Windows-1252 bytes. Accented letters are
// written as \x escapes so that the source file's encoding never leaks out.
#include <string_view>

namespace skervo::texts {

inline constexpr std::string_view kCaption = "Skervo 2.0";
inline constexpr std::string_view kErrorPrefix = "Erreur : ";
inline constexpr std::string_view kCannotRun =
    "Impossible d'ex\xE9"
    "cuter : ";
inline constexpr std::string_view kVersionQueryMissing = "GetVersionEx introuvable";
inline constexpr std::string_view kCannotWriteJournal =
    "Impossible d'\xE9"
    "crire le journal '";
inline constexpr std::string_view kCannotWriteJournalBecause = "' : ";

inline constexpr std::string_view kPauseStart = "Pause : ";
inline constexpr std::string_view kPauseSecondsLeft = " secondes restantes";
inline constexpr std::string_view kPauseSummary = "Pause ";
inline constexpr std::string_view kPauseSummarySeconds = " secondes";
// 19 blanks move the word toward the middle of the status window.
inline constexpr std::string_view kFinished = "                   Termin\xE9 !";

inline constexpr std::string_view kLaunching = "Lancement ";
inline constexpr std::string_view kDialling = "Connexion \xE0 ";
inline constexpr std::string_view kWaitingForEnd = "Attente fin ";
inline constexpr std::string_view kClosing = "Fermeture ";
inline constexpr std::string_view kKilling = "Tuer ";
inline constexpr std::string_view kClosingStartedApps =
    "Fermeture des applications apr\xE8s d\xE9"
    "connexion";

inline constexpr std::string_view kStartingService = "D\xE9marrage service ";
inline constexpr std::string_view kStoppingService = "Arr\xEAt service ";
inline constexpr std::string_view kWaitingServiceStart = "Attente d\xE9marrage service ";
inline constexpr std::string_view kWaitingServiceStop = "Attente arr\xEAt service ";
inline constexpr std::string_view kCannotStartService = "Impossible de d\xE9marrer le service ";
inline constexpr std::string_view kCannotStopService = "Impossible d'arr\xEAter le service ";
inline constexpr std::string_view kServiceOwnCode = ", code du service ";
inline constexpr std::string_view kServiceStoppedAgain =
    "le service s'est arr\xEAt\xE9 au lieu de d\xE9marrer";

inline constexpr std::string_view kScriptLinePrefix = "Script : ";

inline constexpr std::string_view kDownloadedFromInternet =
    "Ce script a \xE9t\xE9 t\xE9l\xE9"
    "charg\xE9 depuis Internet :\r\n";
inline constexpr std::string_view kDownloadedFromUntrustedSite =
    "Ce script vient d'un site sensible :\r\n";
inline constexpr std::string_view kDownloadedOrigin = "\r\n\r\nProvenance : ";
inline constexpr std::string_view kDownloadedOriginUnknown = "inconnue";
inline constexpr std::string_view kDownloadedQuestion =
    "\r\n\r\nUn script peut lancer n'importe quel programme avec vos droits. "
    "Ne l'ex\xE9"
    "cutez que si vous savez qui l'a \xE9"
    "crit.\r\n\r\n"
    "Ex\xE9"
    "cuter ce script ?";

inline constexpr std::string_view kWaitingForConnection = "Attente d'une connexion";
inline constexpr std::string_view kWaitingForNoConnection =
    "Attendre une d\xE9"
    "connexion";
inline constexpr std::string_view kWaitingForDisconnection =
    "Attente d'une d\xE9"
    "connexion";
inline constexpr std::string_view kCannotConnect = "Impossible de se connecter : ";
inline constexpr std::string_view kRasphoneNotFound = "Impossible de trouver rasphone.exe";
inline constexpr std::string_view kRundll32NotFound = "Impossible de trouver rundll32.exe";

inline constexpr std::string_view kEnumeratingConnections = "Enum\xE9ration des connexions (";
inline constexpr std::string_view kErrorCodeWithoutText = "Code d'erreur (si !)";
inline constexpr std::string_view kConnectionStatus = "Status de connexion";
inline constexpr std::string_view kUnknownConnection = "Connexion inconnue";
inline constexpr std::string_view kCannotDial = "Connexion impossible (n\xB0";
inline constexpr std::string_view kDialErrorStart = "Connexion (";
inline constexpr std::string_view kDialErrorMiddle = ") : ";
inline constexpr std::string_view kDialErrorWithoutText = "Code d'erreur";
inline constexpr std::string_view kHangingUp =
    "D\xE9"
    "connecter";
inline constexpr std::string_view kCannotHangUp =
    "D\xE9"
    "connexion";

inline constexpr std::string_view kCannotOpenRasapi32 = "Erreur en ouverture de rasapi32.dll";
inline constexpr std::string_view kCannotOpenRnaph = "Erreur en ouverture de rnaph.dll";
inline constexpr std::string_view kFunctionStart = "Fonction ";
inline constexpr std::string_view kFunctionMissing = " introuvable !";

inline constexpr std::string_view kUnhandledCaption = "Erreur d'application";
inline constexpr std::string_view kUnhandledException = "Exception ";
inline constexpr std::string_view kUnhandledInModule = " dans le module ";
inline constexpr std::string_view kUnhandledAt = " dans ";

inline constexpr std::string_view kFileTypeDescription = "Script Skervo";
inline constexpr std::string_view kRegisteredBeforePath =
    "Les fichiers .skervo sont maintenant associ\xE9s \xE0 '";
inline constexpr std::string_view kRegisteredAfterPath =
    "'.\r\n"
    "Double-cliquez sur un fichier .skervo pour l'ex\xE9"
    "cuter.";
inline constexpr std::string_view kNotRegistered =
    "Les fichiers .skervo n'ont pas \xE9t\xE9 associ\xE9s : ";
inline constexpr std::string_view kInstallWhereOnlyAdministratorsMayChange =
    ".\r\n"
    "Installez Skervo dans un dossier que seuls les administrateurs peuvent modifier, "
    "comme C:\\Program Files\\Skervo, puis recommencez.";
inline constexpr std::string_view kOthersMayChange =
    "d'autres utilisateurs que les administrateurs peuvent modifier '";
inline constexpr std::string_view kRightsUnreadable = "les droits de '";
inline constexpr std::string_view kRightsUnreadableEnd =
    "' ne peuvent pas \xEAtre lus (un disque FAT n'en a pas)";
inline constexpr std::string_view kScriptRefusedStart = "Le script '";
inline constexpr std::string_view kScriptRefusedMiddle =
    "' n'a pas \xE9t\xE9 ex\xE9"
    "cut\xE9 : ";
inline constexpr std::string_view kScriptRefusedEnd =
    ".\r\n"
    "Avec les droits d'administrateur, Skervo n'ex\xE9"
    "cute qu'un script que seuls les administrateurs peuvent modifier, "
    "dans des dossiers qu'eux seuls peuvent modifier.";
inline constexpr std::string_view kJournalNotPlainFile =
    "ce n'est pas un simple fichier \xE0 cet endroit (un lien, ou un fichier \xE0 plusieurs "
    "noms)";
inline constexpr std::string_view kCannotRegister =
    "Impossible d'associer les fichiers .skervo dans la base de registre";
inline constexpr std::string_view kUnregistered =
    "Les fichiers .skervo ne sont plus associ\xE9s \xE0 Skervo.";
inline constexpr std::string_view kCannotUnregister =
    "Impossible de retirer l'association des fichiers .skervo de la base de registre.";

inline constexpr std::string_view kInitialTrayTip = "Skervo";
inline constexpr std::string_view kTrayTipPrefix = "Skervo' - ";

inline constexpr std::string_view kUsage =
    "Usage : SKERVO nom_fichier [/Silent]\n"
    "              ex\xE9"
    "cute pour chaque ligne de 'nom_fichier' l'action par d\xE9"
    "faut du fichier\n"
    "\n"
    "L'option /SILENT cache la fen\xEAtre de suivi du script,\n"
    "Cliquer sur la croix pour arr\xEAter le script\n"
    "\n"
    "Pour associer les scripts (.skervo) avec Skervo, utilisez la commande /Register\n"
    " (/unregister pour supprimer)\n"
    "\n"
    "Chaque ligne de commande doit contenir le chemin d'acc\xE8s complet.\n"
    "Mettre des guillemets autour des noms de fichiers longs.\n"
    "\n"
    "En d\xE9"
    "but de ligne (commandes exclusives) :\n"
    "\n"
    "Commandes de connexion :\n"
    "  &x    : Lance la connexion internet \xE0 \"x\" (par la bo\xEEte standard Windows)\n"
    "  &&x  : Lance la connexion internet \xE0 \"x\" (en automatique)\n"
    "  &-     : Attendre qu'une connexion soit \xE9tablie\n"
    "  &>    : Attendre qu'il n'y ait plus de connexions\n"
    "              avec ,- \xE0 la fin de la ligne, minimise la fen\xEAtre pendant l'attente\n"
    "  &<    : D\xE9"
    "connecter toutes les connexions internet actives\n"
    "\n"
    "Commandes de fermeture (soit un .exe soit un morceau du titre d'une fen\xEAtre) :\n"
    "  >x    : Lancer l'application \"x\", la fermer \xE0 la fin du script*\n"
    "  >>x  : Lancer l'application \"x\", la fermer (sans confirmation) \xE0 la fin du script*\n"
    "  * Si le script contient une connexion, Skervo attendra d'abord la fin de celle-ci\n"
    "\n"
    "  <x    : Ferme imm\xE9"
    "diatement l'application \"x\"\n"
    "  <<x  : Tue (sans confirmation) imm\xE9"
    "diatement l'application \"x\"\n"
    "\n"
    "Commandes d'attente :\n"
    "  @    : Attendre la fin de l'ex\xE9"
    "cution avant de continuer (.exe uniquement)\n"
    "  @x  : Attendre \"x\" secondes\n"
    "\n"
    "Autres commandes :\n"
    "  -      : Minimise la fen\xEAtre\n"
    "  +     : Restaure la fen\xEAtre\n"
    "  #     : Ignore la ligne (Commentaire)";

}  // namespace skervo::texts
