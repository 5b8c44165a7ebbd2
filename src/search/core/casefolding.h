#pragma once

// Unicode simple case folding, as the like rules use it.
namespace CaseFolding {

// The simple case folding of a code point (itself when it has none).
char32_t fold(char32_t c);

// True when no other code point folds to the same value, so that an exact
// byte comparison of this character is the same as a case-blind one.
bool isCaseless(char32_t c);

// True when c equals one of the case variants the like rules accept for
// a character matched against a set bound: c itself, its folding, its
// lower and its upper case.
bool inRangeIgnoringCase(char32_t c, char32_t low, char32_t high);
}
