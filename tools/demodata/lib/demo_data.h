// The demo install folder: plausible trade data for aluminium sash, glass and single items,
// written through the record writers. Tests and the demo start use it; its content is stable.
#pragma once

#include <string>

namespace qd::demo {

// Writes a complete install folder into `dir` (created when missing): data\ with the masters,
// two sets (SET00001.TXT, SET00002.TXT), the own-company record, the tax settings (10 % added,
// whole yen, rounded down), an empty data\SELECT, data\TXT with one sample job document
// "見本見積" whose rows hold the figures quotedesk computes for them at the calculation unit it
// starts with, and the glass master ALMI\GARASU.TXT with a few glasses, so that every program
// opens on the folder.
void writeDemoInstall(const std::string &dir);

// Writes the demo's tax settings file syohizei_calc.fil (10 % added to the amounts, whole yen,
// rounded down) into the data folder `data`, named as the openers name it: INST_DIR + "\\data".
void writeTaxSettings(const std::string &data);

// Name of the sample job document in data\TXT.
inline const char *sampleDocumentName() { return "見本見積"; }

} // namespace qd::demo
