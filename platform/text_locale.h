// Locale rules for 8-bit text: how names compare without regard to letter
// case, how text is lower-cased and ordered in sorted lists, and how UTF-16
// code units and UTF-8 text become bytes of the ANSI code page. On Windows
// these are the user locale's own functions; the portable stand-in gives the
// same answers for Windows-1252 under an English or Portuguese locale.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE) reports equality.
// Note that this is a linguistic equality, not lower-case byte equality:
// "\xdf" equals "ss", "\xe6" equals "ae", and the soft hyphen (AD) and the
// NUL byte are ignored.
bool sameTextIgnoreCase(const std::string& a, const std::string& b);

// A byte string that is equal for two texts exactly when
// sameTextIgnoreCase says they are equal (the locale's case-insensitive
// sort key), for indexing names by the rule the lookup uses.
std::string ignoreCaseKey(const std::string& text);

// CharLowerBuffA over the whole text (same length).
std::string lowerCase(const std::string& text);

// lstrcmpA: <0, 0 or >0 in the locale's word-sort order (letters before
// their accented forms, lower case before upper case as a tie-breaker,
// hyphen and apostrophe weighed only when all else is equal).
int compareText(const std::string& a, const std::string& b);

// WideCharToMultiByte(CP_ACP) of one UTF-16 code unit: one byte, the best
// fit where the code page has one, otherwise the default character "?".
std::string wideToAnsi(uint16_t codeUnit);

// MultiByteToWideChar(CP_UTF8) then WideCharToMultiByte(CP_ACP): malformed
// sequences become U+FFFD, which has no byte and becomes "?".
std::string utf8ToAnsi(const std::string& utf8);

// MultiByteToWideChar(CP_ACP) then WideCharToMultiByte(CP_UTF8): the
// program's 8-bit text as UTF-8, for what leaves it in UTF-8.
std::string ansiToUtf8(const std::string& ansi);

}  // namespace platform
