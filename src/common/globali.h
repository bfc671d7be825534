// The program-wide values that every subsystem reads: identifiers of the open databases,
// INI paths, batch-run state, company currency, field colours.
// Plain data only; the services that fill them live beside their subsystem.
#pragma once

#include <string>

namespace tolvane {

// Start-up and menu link
inline std::string gsIdDbase;        // identifier of the current database in goDbase
inline std::string gsFileIni;        // terminal INI
inline std::string gsFileIniComune;  // INI common to all terminals (may be empty)
inline double gdRisVidStampa = 0;    // zoom of the print windows; <= 0 means none
inline bool gbInChiusura = false;    // true while the program is closing
inline int giStaAtt = 0;             // 1 while a list print runs: one at a time
// Terminal session of the program and the template of a session printer's name ("%§" stands
// for a session number), from the start-up's session setting (sessione_terminale.h).
inline int giNumSessione = 0;
inline std::string gsModStampanteSessione;

// Common services
inline std::string gsConnDbMenu;  // identifier of the common database, empty until open

// Batch loading
inline int giStatoCarica = 0;  // 0 none, 1 running, 2 stop asked
inline std::string gsDriveCarica;
inline std::string gsDirCarica;
inline std::string gsSoloAsci;

// Company currency, filled for a batch run and by the company form
inline std::string gsMonetaAzie;
inline std::string gsCodLira;
inline std::string gsCodEuro;
inline std::string gsCambioEuro = "1936,27";
inline std::string gsOperEuro = "/";
inline int giNumDecLire = 0;
inline int giNumDecLireGest = 0;
inline int giNumDecEuro = 2;
inline int giNumDecEuroGest = 2;
inline int giNumDecAzie = 2;
inline int giNumDecAzieGest = 2;

// Field back colours (BGR longs, as stored in the INI files)
inline long glColGotFocus = 0x80FFFF;   // light yellow
inline long glColLostFocus = 0xFFFFFF;  // white
inline long glColErrore = 255;          // red
inline long glColNormale = 0xFFFFFF;    // window background

}  // namespace tolvane
