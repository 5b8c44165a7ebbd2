#pragma once

#include <QStringDecoder>

#include <cstddef>
#include <string>

// Turns raw Jet text values (as stored in the file's pages) into UTF-8.
namespace JetText {

// Appends the UTF-8 form of a Jet 4 text value to `out`. The value is either
// UTF-16LE or, when it starts with FF FE, "compressed": one byte per
// character, each 0x00 byte switching between one-byte and two-byte units.
// Surrogate pairs become one four-byte sequence; an unpaired surrogate or a
// dangling odd byte becomes U+FFFD. Returns false when such damage was met.
bool appendJet4(const unsigned char *data, std::size_t size, std::string &out);

// The decoder name for a Jet 3 file's code page (header offset 0x3C); code
// page 0 means the Western default 1252. Empty when the code page is unknown
// to this system. The decoder is built from the name where it is used: an
// ICU-backed QStringDecoder must not be moved (its error count would go to
// the moved-from object).
QByteArray decoderNameForCodePage(int codePage);

// Appends the UTF-8 form of a Jet 3 text value, decoded with `decoder`
// (state is not carried from one value to the next). Returns false when the
// value held bytes invalid in the code page (they become U+FFFD).
bool appendCodePage(QStringDecoder &decoder, const unsigned char *data, std::size_t size, std::string &out);
}
