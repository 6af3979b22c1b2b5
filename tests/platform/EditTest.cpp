#include "platform/Application.h"
#include "platform/Edit.h"
#include "platform/Form.h"
#include "platform/FormFile.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class Edit : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = New<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(40, 40, 300, 120);
        Form->Show();
        Box = new TEdit(Form);
        Box->SetParent(Form);
        Box->SetBounds(10, 10, 200, 24);
        Box->OnChange = [this](TObject*) { Changes.push_back(Box->Text()); };
        Application->ProcessMessages();
    }
    void TearDown() override { Form->Free(); }

    void Type(const std::string& Text)
    {
        for (char c : Text)
            SendMessageA(Box->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    std::string WindowText()
    {
        char text[256] = {};
        GetWindowTextA(Box->Handle(), text, sizeof text);
        return text;
    }

    TForm* Form = nullptr;
    TEdit* Box = nullptr;
    std::vector<std::string> Changes;
};

} // namespace

TEST_F(Edit, TypingAndSettingTheTextAreBothReportedOnce)
{
    char className[32] = {};
    GetClassNameA(Box->Handle(), className, sizeof className);
    EXPECT_STREQ(className, "TEdit");

    Box->SetFocus();
    Type("ab");
    EXPECT_EQ(Box->Text(), "ab");
    EXPECT_EQ(Changes, (std::vector<std::string>{"a", "ab"}));
    EXPECT_TRUE(Box->Modified());
    SendMessageA(Box->Handle(), WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(Box->Text(), "a");

    Changes.clear();
    Box->SetText("hello");
    EXPECT_EQ(WindowText(), "hello");
    EXPECT_EQ(Changes, (std::vector<std::string>{"hello"}));
    Box->SetText("hello");
    EXPECT_EQ(Changes.size(), 1u);
    Box->Clear();
    EXPECT_EQ(WindowText(), "");
    EXPECT_EQ(Changes.size(), 2u);
}

TEST_F(Edit, SelectionReadOnlyAndMaxLength)
{
    Box->SetText("one two three");
    Box->SetSelStart(4);
    Box->SetSelLength(3);
    EXPECT_EQ(Box->SelStart(), 4);
    EXPECT_EQ(Box->SelLength(), 3);
    EXPECT_EQ(Box->SelText(), "two");
    Box->SetSelText("2");
    EXPECT_EQ(Box->Text(), "one 2 three");
    EXPECT_EQ(Box->SelStart(), 5);
    Box->SelectAll();
    EXPECT_EQ(Box->SelLength(), 11);

    Box->SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongA(Box->Handle(), GWL_STYLE) & ES_READONLY);
    Box->SetFocus();
    Type("x");
    EXPECT_EQ(Box->Text(), "one 2 three");
    Box->SetText("by program"); // read-only keeps the user out, not the program
    EXPECT_EQ(Box->Text(), "by program");

    Box->SetReadOnly(false);
    Box->SetMaxLength(4);
    Box->Clear();
    Type("abcdef");
    EXPECT_EQ(Box->Text(), "abcd");
    EXPECT_THROW(Box->SetMaxLength(-1), ERangeError);
}

TEST_F(Edit, UsesItsFontAndColoursAndStreams)
{
    Box->Font()->SetHeight(-20);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(Box->Handle(), WM_GETFONT, 0, 0)), Box->Font()->Handle());
    Box->SetColor(clYellow);
    Box->Font()->SetColor(clBlue);
    Box->SetText("WWW");
    UpdateWindow(Box->Handle());
    HDC dc = GetDC(Box->Handle());
    int yellow = 0, blue = 0;
    for (int y = 0; y < Box->ClientHeight(); ++y)
        for (int x = 0; x < 60; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            yellow += c == RGB(255, 255, 0);
            blue += c == RGB(0, 0, 255);
        }
    ReleaseDC(Box->Handle(), dc);
    EXPECT_GT(yellow, 100);
    EXPECT_GT(blue, 20);

    Box->SetName("Edit1");
    Box->SetReadOnly(true);
    Box->SetMaxLength(9);
    const std::string text = WriteComponentText(Form);
    EXPECT_NE(text.find("    ReadOnly = True\r\n"), std::string::npos);
    EXPECT_NE(text.find("    MaxLength = 9\r\n"), std::string::npos);
    EXPECT_NE(text.find("    Text = 'WWW'\r\n"), std::string::npos);
    const TOwned<TForm> copy(New<TForm>(nullptr));
    ReadComponentText(copy.get(), text);
    auto* read = dynamic_cast<TEdit*>(copy->FindComponent("Edit1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Text(), "WWW");
    EXPECT_TRUE(read->ReadOnly());
    EXPECT_EQ(WriteComponentText(copy.get()), text);
}
