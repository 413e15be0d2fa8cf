// Rank.dat: the history of stage results, one 80-byte text per result.
#pragma once

// Reads Rank.dat into historyTexts, historyCount and historyBrowseMax.
// Returns false when the file could not be opened (historyCount is then 0).
bool LoadHistory();

// Rewrites Rank.dat with record 0 and the historyCount results.
void SaveHistory();
