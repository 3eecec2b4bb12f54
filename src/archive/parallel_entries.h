#pragma once
// Extracting an archive whose entries can each be read on their own (zip) on several threads:
// decoding and writing files keep every core busy.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/command.h"
#include "archive/extract_plan.h"
#include "archive/output_folder.h"

namespace oxlip::archive {

// Yields the bytes of the entry with that index; one reader per thread.
using EntryReader = std::function<bool(std::size_t index, const Sink& sink, std::string* error)>;
// Makes the reader of one more thread; null with `error` set when it cannot.
using EntryReaderMaker = std::function<EntryReader(std::string* error)>;

// Carries out the plans in entry order, or, where that gives the same result, makes every
// folder first and then writes the files on up to `threads` threads (0: one per core), the
// calling thread with `reader`. The failure reported is the first in entry order.
bool WriteEntries(OutputFolder& out, const Command& command, const std::vector<EntryInfo>& entries,
                  const std::vector<PlannedEntry>& plans, const EntryReader& reader,
                  const EntryReaderMaker& make_reader, unsigned threads, std::string* error);

}  // namespace oxlip::archive
