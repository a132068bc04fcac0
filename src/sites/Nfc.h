// Normalization Form C of a host name's characters, as browsers normalise a
// name after mapping it (IdnaMapped), so that a letter typed as its base and a
// combining mark encodes as the letter typed whole. The data is compiled in
// from Python's unicodedata of Debian's python3 at build time
// (cmake/make_nfc_table.py), for the characters a mapped name may hold;
// Hangul syllables are composed by rule. Portable, no state.
#pragma once

#include <string>
#include <string_view>

// The text decomposed, its marks put in canonical order, then composed again.
std::u32string NfcNormalized(std::u32string_view text);
