// Names on a data disc: the ISO 9660 level-1 names of the primary directory and
// the Joliet names that Windows shows. Portable C++.
#pragma once
#include <string>
#include <vector>

namespace discimage {

const size_t JolietNameMax = 64;   // UCS-2 characters of one Joliet name

// "NAME.EXT" of upper-case d-characters (A-Z, 0-9, "_"), at most 8 + 3, from the
// caller's short names; every result differs from the others.
std::vector<std::string> MakeIsoNames(const std::vector<std::u16string>& shortNames);

// The long names with the characters Joliet forbids replaced by "_", cut to at
// most 64 characters keeping the extension; no two equal without regard to case.
std::vector<std::u16string> MakeJolietNames(const std::vector<std::u16string>& longNames);

// The primary descriptor's volume identifier: d-characters, at most 32.
std::string MakeIsoVolumeId(const std::u16string& label);

}  // namespace discimage
