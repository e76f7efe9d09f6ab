#pragma once
// Bringing a user's data folder up to date with the shipped data, without
// ever touching what the user made, changed or deleted there. A record in
// the user's folder keeps, for every file ever shipped to it, the shipped
// file's size, time and content hash.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace glamora {

// The record's file name inside the user's folder; hidden, so no folder
// listing of the program shows it.
inline constexpr const char* kShippedRecordName = ".shipped";

struct ShippedEntry {
  uint64_t Size = 0;
  int64_t Time = 0;   // modification time of the shipped file, nanoseconds
  uint64_t Hash = 0;  // hash of its content
  bool operator==(const ShippedEntry&) const = default;
};

// Relative path ("Short/000.jpg") to what was shipped under it.
using ShippedRecord = std::map<std::string, ShippedEntry>;

// The record as text, one "hash size time path" line a file, and back.
// Lines that do not parse are skipped.
std::string FormatShippedRecord(const ShippedRecord& record);
ShippedRecord ParseShippedRecord(const std::string& text);

// A 64-bit FNV-1a hash of bytes: enough to tell one shipped version of a
// file from another, not meant to withstand tampering.
uint64_t ContentHash(const uint8_t* data, size_t size);

struct SyncOutcome {
  int Copied = 0;    // files written into the user's folder
  int Kept = 0;      // shipped files left alone because the user made, changed or deleted them
  std::string Error; // the first failure; the sync stops there
};

// Brings userFolder up to date with shippedFolder (both with a trailing
// separator). A file shipped for the first time is copied unless the user
// already has another file under its name; a file shipped before is replaced by
// a newer shipped version only while the user's copy is still the one
// shipped before, and never brought back once the user deleted it. Every
// file is written under a temporary name and renamed into place, the record
// last, so an interrupted sync leaves no half-written file and goes on at
// the next start.
SyncOutcome SyncShippedFiles(const std::string& shippedFolder, const std::string& userFolder);

}  // namespace glamora
