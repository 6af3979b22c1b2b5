#include "platform/Stream.h"
#include "platform/Win32.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Stream, ExactTransfersAndFiles)
{
    TMemoryStream memory;
    memory.WriteBuffer("abcdef", 6);
    EXPECT_EQ(memory.Size(), 6);
    memory.SetPosition(4);
    char buffer[8] = {};
    EXPECT_EQ(memory.Read(buffer, 8), 2u);
    EXPECT_STREQ(buffer, "ef");
    memory.SetPosition(4);
    EXPECT_THROW(memory.ReadBuffer(buffer, 3), EReadError);
    EXPECT_THROW(memory.Seek(-7, soEnd), EStreamError);
    memory.Seek(2, soEnd); // past the end: a write fills the gap
    memory.WriteBuffer("!", 1);
    EXPECT_EQ(memory.Size(), 9);
    EXPECT_EQ(memory.Bytes()[7], 0);

    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "tessel-stream-" + std::to_string(GetCurrentProcessId()) + ".bin";
    {
        TFileStream file(path, fmCreate);
        file.CopyFrom(&memory, 0);
        EXPECT_EQ(file.Size(), 9);
    }
    {
        TFileStream file(path, fmOpenRead);
        EXPECT_EQ(file.Size(), 9);
        file.Seek(-3, soEnd);
        EXPECT_EQ(file.Read(buffer, 8), 3u);
        EXPECT_EQ(buffer[2], '!');
        EXPECT_THROW(file.ReadBuffer(buffer, 1), EReadError);
        EXPECT_THROW(file.WriteBuffer("x", 1), EStreamError);
    }
    DeleteFileA(path.c_str());
    try {
        TFileStream missing(path, fmOpenRead);
        ADD_FAILURE() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + path + "\".");
    }
    EXPECT_THROW(TFileStream(std::string(dir) + "no-such-folder\\x.bin", fmCreate), EFCreateError);
}
