#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dvw {

// The whole-file rules of an appointment file. Lines are 8-bit text kept byte for byte;
// a logical line (one appointment) may hold CR LF between its segments, which the file
// stores as continuation lines beginning with "&".

// The file's bytes as logical line texts. Lines end in CR LF or LF; a lone CR is a byte of
// the line. Empty lines are dropped. A line beginning with "&" continues the text before
// it (joined with CR LF, the "&" dropped), except when it is the first line kept. A
// Ctrl-Z (26) as the very last byte of the last text is the old end-of-file mark and is
// removed; a text left empty by that is dropped. Linear in the size of the bytes.
std::vector<std::string> SplitFileText(std::string_view bytes);
// The same texts handed to `add` one by one, so that a large file is never held twice.
void ForEachFileText(std::string_view bytes, const std::function<void(std::string &&)> &add);
// At most how many texts the bytes hold: one per physical line.
std::size_t MaxFileTexts(std::string_view bytes);

// The bytes to save for the texts, in order. A text beginning with "~" is a deleted line
// and is not written. Each text is cut at its CR LF pairs; the first segment is a line of
// its own and every further segment a continuation line beginning with "&"; every line
// ends in CR LF. SplitFileText gives the written texts back unchanged: a text that the
// file would otherwise merge into the line before (a later text beginning with "&", or
// one whose first segment is empty) is written with one leading blank, and when the last
// line written ends in Ctrl-Z a line holding only Ctrl-Z follows it, so that reading
// removes that one instead of the text's own last byte.
std::string JoinFileText(const std::vector<std::string> &texts);

// The backup file of an appointment file: in the file name (dots in directory names play
// no part) the extension, from the last ".", is replaced by ".BAK"; a name without one,
// or whose only dot leads it (".notes"), gets ".BAK" appended. A file whose name already
// ends in ".BAK" gets a second ".BAK", so that a file is never its own backup.
std::string BackupPath(const std::string &path);

// Text that an operation (dialog, paste, append) puts into a line: a bare LF becomes
// CR LF, and a text that the file format would merge into the line before or drop at save
// (beginning with "&", "~" or a line break) gets one leading blank.
std::string NormaliseInsertedText(std::string_view text);

} // namespace dvw
