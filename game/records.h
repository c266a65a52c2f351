#pragma once
// The table of the ten best totals with their holders' names, best first, and the
// records file that keeps it: 20 lines, a name and a score for each rank, in the
// Windows-1251 code page with CR LF line ends.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int kRecordCount = 10;
inline constexpr const char* kRecordsFile = "data\\rec.rmw";

extern std::array<std::string, kRecordCount> RecordNames;
extern std::array<int32_t, kRecordCount> RecordScores;

struct TRecordTable {
  std::array<std::string, kRecordCount> Names;  // UTF-8
  std::array<int32_t, kRecordCount> Scores{};
};

// Reads the table from the bytes of a records file, rank by rank, into names and scores.
// Lines end at LF or CR LF and other CRs are dropped from a name; a score is the first
// run of characters above the blank after any blanks and line ends; missing lines read
// as empty names and 0. A score that is not a decimal integer raises EInOutError
// "Invalid numeric input", and the entries read before it stay.
void ReadRecords(std::string_view bytes, std::array<std::string, kRecordCount>& names,
                 std::array<int32_t, kRecordCount>& scores);
TRecordTable ParseRecords(std::string_view bytes);
// The file's bytes for the table.
std::string FormatRecords(const TRecordTable& table);

// The rank (1 to 10) a new total takes: the first rank whose score is lower, so a tie
// goes below the equal scores; 11 when no score is lower.
int InsertionRank(const TRecordTable& table, int32_t score);
// Puts the entry at its rank; the old rank 10 drops out. A rank of 11 changes nothing.
void InsertRecord(TRecordTable& table, const std::string& name, int32_t score);

// Reloads the in-memory table from the records file (see ReadRecords; the file's open
// errors are "File not found" and "File access denied").
void LoadRecords();
// Inserts the entry into the records file: the whole old table is read first (nothing is
// written when it cannot be), then the new one replaces it atomically. The file's lock is
// held from the read to the replace, so games that save at the same time each keep their
// entry.
void SaveRecord(const std::string& name, int32_t score);
