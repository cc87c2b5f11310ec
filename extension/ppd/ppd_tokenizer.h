// Cuts the PPD byte stream into tokens and turns tokens into stored texts.
// Tokens are the file's bytes held one per 16-bit unit, undecoded.
#pragma once

#include <cstddef>

#include "ppd_byte_source.h"
#include "ppd_text.h"

constexpr size_t kPpdTokenCapacity = 1048576;

// Ids of the structure keywords that LookupPpdKeyword recognises.
enum PpdKeywordId {
  PPDKEY_NONE = 0,
  PPDKEY_QUERY = 1,
  PPDKEY_CLOSEGROUP = 2,
  PPDKEY_CLOSEUI = 3,
  PPDKEY_DEFAULT = 4,
  PPDKEY_END = 5,
  PPDKEY_FILEVERSION = 6,
  PPDKEY_FORMATVERSION = 7,
  PPDKEY_LANGUAGEENCODING = 8,
  PPDKEY_LANGUAGEVERSION = 9,
  PPDKEY_MANUFACTURER = 10,
  PPDKEY_MODELNAME = 11,
  PPDKEY_NICKNAME = 12,
  PPDKEY_OPENGROUP = 13,
  PPDKEY_OPENUI = 14,
  PPDKEY_ORDERDEPENDENCY = 15,
  PPDKEY_PCFILENAME = 16,
  PPDKEY_PPDADOBE = 17,
  PPDKEY_PSVERSION = 18,
  PPDKEY_PRODUCT = 19,
  PPDKEY_SHORTNICKNAME = 20,
  PPDKEY_UICONSTRAINTS = 21,
};

// Reads the next token into `buffer` (zero-terminated, at most capacity - 1
// units) and stores its length. FALSE at the end of input, with an empty
// buffer. With `bBlanksAllowed`, tabs, spaces and double quotes continue a
// word token. When `lineBreakBefore` is given it learns whether a line began
// between the previous token and this one.
bool NextPpdToken(PpdByteSource* source, char16_t* buffer, size_t capacity, size_t* length,
                  bool bBlanksAllowed, bool* lineBreakBefore = nullptr);

enum class PpdTokenRead { kToken, kLineEnded, kEndOfInput };

// The next token only when it begins on the current line. kLineEnded when a
// line break comes first: the next line is then left unread (an empty token
// is stored), and the next read sees its first token as beginning a line.
PpdTokenRead NextPpdTokenOnLine(PpdByteSource* source, char16_t* buffer, size_t capacity,
                                size_t* length, bool bBlanksAllowed);

// Splits a name token at its first '/' into a name and a translation,
// decoding <hex> pairs. The token is read here with blanks allowed.
bool ReadNameAndTranslation(PpdByteSource* source, char16_t* buffer, size_t capacity,
                            PpdText* name, PpdText* translation);

// The same split over a token already read.
void SplitNameAndTranslation(const char16_t* token, size_t length, PpdText* name,
                             PpdText* translation);

// Reads one token with blanks not allowed into `text`; FALSE at the end of
// input, `text` then unchanged.
bool ReadPpdValue(PpdByteSource* source, char16_t* buffer, size_t capacity, PpdText* text);

// The id of a structure keyword (exact and case-sensitive), 0 for any other.
int LookupPpdKeyword(const char16_t* token);
