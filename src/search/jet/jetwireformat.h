#pragma once

#include <cstdint>

// The byte stream the Jet reader child writes to its standard output.
// All integers little-endian.
//
//   stream  := Magic record*
//   record  := 'R' value value value value      one row: subject htm content date
//            | 'E' u64 rowsWritten u64 numRows  end: rows sent, the table's own count
//            | 'X' u32 n byte[n]                failure, UTF-8 reason; nothing follows
//   value   := 0x00                             NULL
//            | 0x01 u32 n byte[n]               text, UTF-8 (n may be 0: empty, not NULL)
//            | 0x02 f64                         number (dates: days since 1899-12-30)
namespace JetWire {

inline constexpr char Magic[4] = {'T', 'J', 'W', '1'};
inline constexpr int ColumnCount = 4;

enum Tag : unsigned char { Row = 'R', End = 'E', Error = 'X' };
enum Kind : unsigned char { Null = 0, Text = 1, Number = 2 };

// Column order on the wire and in the table the parent builds.
inline constexpr const char *ColumnNames[ColumnCount] = {"subject", "htm", "content", "date"};

// The child's exit codes; the parent reads the message from the stream.
enum ExitCode : int { Success = 0, ReadFailed = 1, BadUsage = 2, OutputFailed = 3 };

// A failure record's text is a reason code and its arguments, each argument
// after one ArgumentSeparator. The parent words the reason in the reader's
// language (the child runs without the program's translations); a text
// whose code it does not know is shown as it stands.
inline constexpr char ArgumentSeparator = '\x1f';
namespace Reason {
inline constexpr const char *NotJet = "not-jet";                        // -
inline constexpr const char *UnknownCodePage = "unknown-code-page";     // code page
inline constexpr const char *NoCatalogue = "no-catalogue";              // -
inline constexpr const char *NoTable = "no-table";                      // -
inline constexpr const char *NoTableDefinition = "no-table-definition"; // -
inline constexpr const char *NoColumn = "no-column";                    // column
inline constexpr const char *RowLost = "row-lost";                      // row
inline constexpr const char *RowUnreadable = "row-unreadable";          // row
inline constexpr const char *MemoHeader = "memo-header";                // row, column
inline constexpr const char *MemoDamaged = "memo-damaged";              // row, column, bytes read, bytes declared
}
}
