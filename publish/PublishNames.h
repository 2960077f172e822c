// The naming rules of a publish run, shared by the publish dialog and the
// wizard's burn page: valid album names, sanitised track names, output files,
// disc short names, tag-title suffixes and free names. Plain strings, no Windows.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace publish {

// Not empty; first and last characters not a tab, blank or dot; none of " * / : < > ? \ |.
bool IsValidName(const std::wstring& name);

// Blanks at both ends removed.
std::wstring TrimBlanks(const std::wstring& text);

// "\" and "/" become "^", ":" "@", "*" "#", "?" "$", the double quote "'",
// "<" "(", ">" ")", "|" "!"; then blanks at both ends go.
std::wstring SanitizeTrackName(const std::wstring& name);

// "<album folder>[NN] <name><extension>": NN is the row index + 1; the name is the
// sanitised track name, or the file title when the track name is empty.
std::wstring OutputFileName(const std::wstring& albumFolder, int rowIndex, const std::wstring& trackName,
                            const std::wstring& fileTitle, const std::wstring& extension);

// The short name a data disc gets for produced file `index`: the name part when
// it has at most 8 characters, else its first 6 and "%02x" of index mod 256, then
// the extension (with its dot) cut to 4 characters; ";" becomes "_".
std::wstring DiscShortName(const std::wstring& fileName, int index);
// The long name: the file name with ";" turned into "_".
std::wstring DiscLongName(const std::wstring& fileName);

// "%02d" of the current row + 1 when some row's track name is longer than 28
// characters and equals the title in its first 28; else empty.
std::wstring TagTitleSuffix(const std::vector<std::wstring>& trackNames, const std::wstring& title, int currentRow);

// The usual `taken` rule: a file or folder of that name exists.
bool NameOnDisk(const std::wstring& path);

// `path` when `taken` says it is free, else "<stem> (2)<ext>", "<stem> (3)<ext>", ...
std::wstring FreeName(const std::wstring& path, const std::function<bool(const std::wstring&)>& taken);

// The merged file: "<folder><album>.mp3", or "<folder><album>[<merge label>].mp3"
// when the first exists.
std::wstring MergeName(const std::wstring& albumFolder, const std::wstring& album, const std::wstring& mergeLabel,
                       const std::function<bool(const std::wstring&)>& exists);

}  // namespace publish
