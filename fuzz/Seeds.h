#pragma once
// The seed writers of the session and journal targets, beside the picture and
// settings seeds of WriteSeeds.cpp.

#include <filesystem>

namespace lumavex::fuzz {

// Session files as the program writes them at start-up and at the first step of a
// picture, into `folder`.
void WriteSessionSeeds(const std::filesystem::path& folder);
// Journals of runs that died after drawing, after undoing and across several undo
// files, packed as the journal target reads them, into `folder`.
void WriteJournalSeeds(const std::filesystem::path& folder);

}  // namespace lumavex::fuzz
