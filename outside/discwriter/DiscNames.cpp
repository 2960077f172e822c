#include "DiscNames.h"

#include <set>

namespace discimage {
namespace {

char ToDChar(char16_t c)
{
    if (c >= u'a' && c <= u'z') return char(c - u'a' + 'A');
    if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_') return char(c);
    return '_';
}

std::string ToDChars(const std::u16string& text, size_t max)
{
    std::string out;
    for (char16_t c : text) {
        if (out.size() == max) break;
        out += ToDChar(c);
    }
    return out;
}

// Splits at the last dot; a leading dot belongs to the stem.
void SplitExtension(const std::u16string& name, std::u16string& stem, std::u16string& ext)
{
    const size_t dot = name.rfind(u'.');
    if (dot == std::u16string::npos || dot == 0) {
        stem = name;
        ext.clear();
    } else {
        stem = name.substr(0, dot);
        ext = name.substr(dot + 1);
    }
}

bool JolietForbidden(char16_t c)
{
    return c < 0x20 || c == u'*' || c == u'/' || c == u':' || c == u';' || c == u'?' || c == u'\\';
}

// Case folding for the uniqueness test: ASCII and Latin-1 letters, as Windows
// would compare the names a user sees.
std::u16string Folded(const std::u16string& s)
{
    std::u16string out = s;
    for (char16_t& c : out) {
        if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) c = char16_t(c - 0x20);
    }
    return out;
}

std::u16string Ascii16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

std::vector<std::string> MakeIsoNames(const std::vector<std::u16string>& shortNames)
{
    std::vector<std::string> result;
    std::set<std::string> taken;
    for (const std::u16string& name : shortNames) {
        std::u16string stem16, ext16;
        SplitExtension(name, stem16, ext16);
        std::string stem = ToDChars(stem16, 8);
        const std::string ext = ToDChars(ext16, 3);
        if (stem.empty()) stem = "_";
        std::string candidate = stem + "." + ext;
        for (unsigned n = 1; taken.count(candidate); ++n) {
            const std::string number = std::to_string(n);
            candidate = stem.substr(0, 8 - number.size()) + number + "." + ext;
        }
        taken.insert(candidate);
        result.push_back(candidate);
    }
    return result;
}

std::vector<std::u16string> MakeJolietNames(const std::vector<std::u16string>& longNames)
{
    std::vector<std::u16string> result;
    std::set<std::u16string> taken;
    for (std::u16string name : longNames) {
        for (char16_t& c : name)
            if (JolietForbidden(c)) c = u'_';
        if (name.empty()) name.assign(1, u'_');
        std::u16string stem, ext;
        SplitExtension(name, stem, ext);
        if (!ext.empty()) ext.insert(ext.begin(), u'.');
        if (ext.size() >= JolietNameMax) {   // no room for a stem: keep the start
            stem = name;
            ext.clear();
        }
        std::u16string candidate = stem.substr(0, JolietNameMax - ext.size()) + ext;
        for (unsigned n = 1; taken.count(Folded(candidate)); ++n) {
            const std::u16string tag = Ascii16("~" + std::to_string(n));
            const size_t room = JolietNameMax - ext.size() - tag.size();
            candidate = stem.substr(0, room) + tag + ext;
        }
        taken.insert(Folded(candidate));
        result.push_back(candidate);
    }
    return result;
}

std::string MakeIsoVolumeId(const std::u16string& label)
{
    return ToDChars(label, 32);
}

}  // namespace discimage
