// Native builds (sanitizers, fuzzing): plain stdio, paths as UTF-8, no sharing modes.
#include "ByteFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <locale>
#include <codecvt>

namespace {

class CStdioByteFile : public CByteFile {
public:
    explicit CStdioByteFile(FILE* f) : m_f(f) {}
    ~CStdioByteFile() override { fclose(m_f); }
    size_t Read(void* buffer, size_t bytes) override { return fread(buffer, 1, bytes, m_f); }
    bool Write(const void* buffer, size_t bytes) override { return fwrite(buffer, 1, bytes, m_f) == bytes; }
    bool Seek(uint64_t offset) override { return fseeko(m_f, (off_t)offset, SEEK_SET) == 0; }
    uint64_t Tell() const override { return (uint64_t)ftello(m_f); }
    uint64_t Length() const override
    {
        off_t here = ftello(m_f);
        fseeko(m_f, 0, SEEK_END);
        off_t end = ftello(m_f);
        fseeko(m_f, here, SEEK_SET);
        return (uint64_t)end;
    }
    bool Truncate() override { return fflush(m_f) == 0 && ftruncate(fileno(m_f), ftello(m_f)) == 0; }

private:
    FILE* m_f;
};

}  // namespace

std::string NarrowPath(const std::wstring& path)
{
    std::string out;
    for (wchar_t c : path)
        out += (c < 0x80) ? (char)c : '?';
    return out;
}

std::unique_ptr<CByteFile> OpenByteFile(const std::wstring& path, FileMode mode)
{
    const char* how = "rb";
    if (mode == FileMode::CreateShared || mode == FileMode::CreateExclusive) how = "w+b";
    else if (mode == FileMode::UpdateExclusive) how = "r+b";
    else if (mode == FileMode::RewriteExclusive || mode == FileMode::RewriteShared) {
        // "r+b" needs the file to exist; "a+b" creates it but appends every write.
        if (FILE* made = fopen(NarrowPath(path).c_str(), "ab"))
            fclose(made);
        how = "r+b";
    }
    FILE* f = fopen(NarrowPath(path).c_str(), how);
    if (!f)
        return nullptr;
    return std::make_unique<CStdioByteFile>(f);
}

bool DeleteByteFile(const std::wstring& path)
{
    return remove(NarrowPath(path).c_str()) == 0;
}

bool AnyTwoSameByteFile(const std::vector<std::wstring>& names)
{
    std::vector<struct stat> info(names.size());
    std::vector<bool> found(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        found[i] = stat(NarrowPath(names[i]).c_str(), &info[i]) == 0;
        for (size_t k = 0; found[i] && k < i; ++k)
            if (found[k] && info[i].st_dev == info[k].st_dev && info[i].st_ino == info[k].st_ino)
                return true;
    }
    return false;
}

bool IsSameByteFile(const std::wstring& a, const std::wstring& b)
{
    struct stat sa, sb;
    return stat(NarrowPath(a).c_str(), &sa) == 0 && stat(NarrowPath(b).c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}
