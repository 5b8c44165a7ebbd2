#pragma once

#include <cstdint>

// The byte stream the Jet reader child writes to its standard output.
// All integers little-endian.
//
//   stream  := Magic record*
//   record  := 'R' value value value value      one row: subject htm content date
//            | 'E' u64 rowsWritten u64 numRows  end: rows sent, the table's own count
//            | 'X' u32 n byte[n]                failure, UTF-8 message; nothing follows
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
}
