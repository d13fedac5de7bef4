// Case folding of single UTF-16 units for the comparisons of mzComStringC.
#pragma once

// The lower-case form of ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic capitals; every
// other unit unchanged.
char16_t foldCaseUnit(char16_t unit);
