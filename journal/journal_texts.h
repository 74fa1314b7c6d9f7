#pragma once
// The journal's texts, as Windows-1252 bytes like every text of the program;
// the journal converts them when it writes.
#include <string_view>

namespace skervo::texts {

inline constexpr std::string_view kJournalStart =
    "D\xE9"
    "but : Skervo ";
inline constexpr std::string_view kJournalBits = " bits), poste ";
inline constexpr std::string_view kJournalUser = ", utilisateur ";
inline constexpr std::string_view kJournalScript = ", script ";
inline constexpr std::string_view kJournalSwitches = ", options ";
inline constexpr std::string_view kJournalEnd = "Fin : ";
inline constexpr std::string_view kJournalDuration =
    "dur\xE9"
    "e ";
inline constexpr std::string_view kJournalFailedLines =
    " s, lignes en \xE9"
    "chec : ";
inline constexpr std::string_view kJournalExitCode = ", code de sortie ";
inline constexpr std::string_view kJournalInterrupted =
    "interrompue par la fin de la session Windows";

// The event a run leaves in the Application log: its source, and its
// journal's place when it has none.
inline constexpr std::string_view kEventSource = "Skervo";
inline constexpr std::string_view kEventNoJournal = "aucun";

inline constexpr std::string_view kJournalLine = "ligne ";
inline constexpr std::string_view kJournalEndOfScript = "fin du script";
inline constexpr std::string_view kJournalBox = "bo\xEEte \xAB ";
inline constexpr std::string_view kJournalBoxText = " \xBB : ";

inline constexpr std::string_view kStarted = "lanc\xE9, processus ";
inline constexpr std::string_view kEnded = "termin\xE9, code de sortie ";
inline constexpr std::string_view kStillRunning = "toujours en cours : ";
inline constexpr std::string_view kStillRunningProcess = ", processus ";
inline constexpr std::string_view kEndedAfterTimeLimit = " termin\xE9 depuis, code de sortie ";
inline constexpr std::string_view kEndedInFailure =
    "termin\xE9 en \xE9"
    "chec, code de sortie ";
inline constexpr std::string_view kRestartNeeded = " : red\xE9marrage demand\xE9";
inline constexpr std::string_view kRestartStarted = " : red\xE9marrage lanc\xE9";
inline constexpr std::string_view kNotStarted = "non lanc\xE9 : ";
inline constexpr std::string_view kCarriedOutAs = "soit ";
inline constexpr std::string_view kLineTooLongOnceExpanded =
    "plus de 32 767 caract\xE8res une fois les variables remplac\xE9"
    "es";
inline constexpr std::string_view kVariableOutsideCodePage =
    "une variable contient des caract\xE8res que la page de codes de Windows n'a pas";
inline constexpr std::string_view kVariableNamesACommand =
    "une variable y donne NETSTART ou NETSTOP, qui doivent \xEAtre \xE9"
    "crits";
inline constexpr std::string_view kProgramNotFound = "introuvable";
inline constexpr std::string_view kNotAProgram =
    "ce n'est pas un programme (.exe, .com, .bat, .cmd)";
inline constexpr std::string_view kNoFullPath =
    "le chemin d'acc\xE8s complet est n\xE9"
    "cessaire";
inline constexpr std::string_view kOpenedByShell = "ouvert par Windows";
inline constexpr std::string_view kServiceStarted = "service d\xE9marr\xE9";
inline constexpr std::string_view kServiceStopped = "service arr\xEAt\xE9";
inline constexpr std::string_view kServiceAlreadyRunning = "service d\xE9j\xE0 d\xE9marr\xE9";
inline constexpr std::string_view kServiceAlreadyStopped = "service d\xE9j\xE0 arr\xEAt\xE9";
inline constexpr std::string_view kServiceStartSent = "d\xE9marrage du service demand\xE9";
inline constexpr std::string_view kServiceStopSent = "arr\xEAt du service demand\xE9";
inline constexpr std::string_view kServiceRefused = "service inaccessible : ";
inline constexpr std::string_view kServiceFailed =
    "service en \xE9"
    "chec : ";
inline constexpr std::string_view kWindowsClosed =
    "fermeture demand\xE9"
    "e, fen\xEAtres : ";
inline constexpr std::string_view kProcessesKilled = "processus tu\xE9s : ";
inline constexpr std::string_view kNothingToClose = "rien \xE0 fermer";
inline constexpr std::string_view kProcessRefused = "processus inaccessible : ";
inline constexpr std::string_view kWindowRefused = "fen\xEAtre inaccessible : ";
inline constexpr std::string_view kPaused = "pause de ";
inline constexpr std::string_view kSeconds = " s";
inline constexpr std::string_view kPauseSkipped =
    "pause saut\xE9"
    "e : derni\xE8re ligne";
inline constexpr std::string_view kEndNotWaitedFor = "fin non attendue : derni\xE8re ligne";
inline constexpr std::string_view kWindowHidden =
    "fen\xEAtre de suivi cach\xE9"
    "e";
inline constexpr std::string_view kWindowShown =
    "fen\xEAtre de suivi montr\xE9"
    "e";
inline constexpr std::string_view kNoStatusWindow = "sans effet : pas de fen\xEAtre de suivi";
inline constexpr std::string_view kDialStarted =
    "composition lanc\xE9"
    "e";
inline constexpr std::string_view kAlreadyDialled =
    "d\xE9j\xE0 compos\xE9"
    "e : rien \xE0 faire";
inline constexpr std::string_view kConnectionFound = "connexion \xE9tablie";
inline constexpr std::string_view kNoConnectionLeft = "plus aucune connexion";
inline constexpr std::string_view kHungUp =
    "connexions raccroch\xE9"
    "es : ";
inline constexpr std::string_view kTimeLimitReached = "d\xE9lai de ";
inline constexpr std::string_view kTimeLimitWait = " s atteint : ";
inline constexpr std::string_view kStoppedByUser =
    "arr\xEAt\xE9 : fen\xEAtre de suivi ferm\xE9"
    "e";
inline constexpr std::string_view kStoppedAfterFailure =
    "arr\xEAt apr\xE8s l'\xE9"
    "chec de la ligne ";
inline constexpr std::string_view kWrongSwitch =
    "option incorrecte, inconnue ou donn\xE9"
    "e deux fois : ";
inline constexpr std::string_view kScriptUnreadable = "script illisible : ";
inline constexpr std::string_view kDownloadedScript =
    "script t\xE9l\xE9"
    "charg\xE9 (zone ";
inline constexpr std::string_view kDownloadedScriptOrigin = ", provenance ";
inline constexpr std::string_view kDownloadedScriptRun =
    ") : ex\xE9"
    "cut\xE9 sur confirmation";
inline constexpr std::string_view kDownloadedScriptRefused =
    ") : non ex\xE9"
    "cut\xE9";

}  // namespace skervo::texts
