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

inline constexpr std::string_view kPauseStart = "Pause : ";
inline constexpr std::string_view kPauseSecondsLeft = " secondes restantes";
inline constexpr std::string_view kPauseSummary = "Pause ";
inline constexpr std::string_view kPauseSummarySeconds = " secondes";
// 19 blanks move the word toward the middle of the status window.
inline constexpr std::string_view kFinished = "                   Termin\xE9 !";

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
