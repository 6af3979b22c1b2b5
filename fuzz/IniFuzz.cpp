// The in-memory INI model on any bytes, as Tessel.ini and the page INI files
// may hold them: reading, writing and removing never crash, a value written
// reads back, and the text written reads back and writes again to the same
// bytes.
#include "shell/IniFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using tessel::TIniFile;

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "IniFuzz: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    if (TIniFile::IsUtf16(text))
        return 0;

    // The reads the shell makes at start-up, on whatever the file holds.
    TIniFile file(text);
    for (const char* section : {"", "Tessel", "Group", "MESSAGE", "1"})
        for (const char* key : {"ObjectStyle", "groupcount", "pagecount", "count", "1"})
            Check(file.Read(section, key).size() < tessel::IniValueSize, "a read longer than its buffer");
    Check(!file.Changed(), "reading changed the file");

    file.Write("FuzzSection", "FuzzKey", "value 1");
    Check(file.Read("FuzzSection", "FuzzKey") == "value 1", "a value written does not read back");
    const std::string written = file.Text();

    // Written text is the file's normal form, but for a first line that the
    // next reading takes for a byte-order mark: from the second writing on,
    // the same writes give the same bytes.
    std::string rewritten;
    for (int generation = 0; generation < 2; ++generation) {
        TIniFile again(generation == 0 ? written : rewritten);
        Check(again.Read("FuzzSection", "FuzzKey") == "value 1", "the written file does not read back");
        again.Write("FuzzSection", "FuzzKey", "value 2");
        again.Write("FuzzSection", "FuzzKey", "value 1");
        Check(generation == 0 || again.Text() == rewritten, "the written file does not write back to the same bytes");
        rewritten = again.Text();
    }

    TIniFile again(rewritten);
    again.EraseSection("1");
    again.EraseSection("Group");
    (void)again.Text();
    return 0;
}
