#pragma once
#include <string>

// Flat extraction of a zip archive into an existing folder: each entry goes to
// folder + its stored name (read in the ANSI code page); no sub-folders are
// made. Empty entries and folder entries fail. Names that climb out of the
// folder ("..") or are absolute fail too.

// 0 when every entry was written; -1 at the first entry that fails, for an
// archive without entries, an empty path or an archive that cannot be opened.
int ExtractArchive(const std::wstring& folder, const std::wstring& archive);

// Writes every entry it can and skips the others.
void ExtractArchiveAll(const std::wstring& folder, const std::wstring& archive);
