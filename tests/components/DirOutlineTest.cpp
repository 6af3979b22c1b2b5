#include "FormFixture.h"
#include "support/Files.h"

#include "components/DirOutline.h"

using namespace platform;
using namespace components;
using testsupport::TempFolder;

namespace {

class DirOutline : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        for (const char* folder : {"Alpha", "Alpha\\One", "Alpha\\Two", "Alpha\\Two\\Deep", "beta", "Gamma"})
            CreateDirectoryA((Temp.Path() + folder).c_str(), nullptr);
        testsupport::WriteWholeFile(Temp.Path() + "file.txt", "not a folder");
        Outline = Place<TDirectoryOutline>(10, 10, 300, 240);
        Outline->OnChange = [this](TObject*) { ++Changes; };
        Outline->SetDirectory(Root());
        FRootRow = Outline->SelectedRow();
        Changes = 0;
    }
    std::string Root() const { return Temp.Path().substr(0, Temp.Path().size() - 1); }
    // The names of the rows below the temporary folder's row, with their depth below it.
    std::vector<std::string> Below()
    {
        const int top = RootRow();
        std::vector<std::string> rows;
        for (int row = top + 1; row < Outline->RowCount() && Outline->RowLevel(row) > Outline->RowLevel(top); ++row)
            rows.push_back(std::string(static_cast<size_t>(Outline->RowLevel(row) - Outline->RowLevel(top) - 1), ' ') +
                           Outline->RowText(row));
        return rows;
    }
    int RootRow() const { return FRootRow; }

    TempFolder Temp{"Outline"};
    TDirectoryOutline* Outline = nullptr;
    int Changes = 0;
    int FRootRow = 0;
};

} // namespace

TEST_F(DirOutline, OpensTheTreeDownToTheDirectoryAndListsFoldersOnlyWhenExpanded)
{
    EXPECT_EQ(Outline->Directory(), Root());
    EXPECT_EQ(Outline->Drive(), 'C');
    EXPECT_EQ(Outline->RowText(0), "C:\\");
    EXPECT_EQ(Outline->RowLevel(0), 0);
    const int root = Outline->SelectedRow();
    EXPECT_FALSE(Outline->Expanded(root));

    Outline->SetFocus();
    Key(Outline, VK_RIGHT);
    EXPECT_TRUE(Outline->Expanded(root));
    EXPECT_EQ(Below(), (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
    EXPECT_EQ(Changes, 0);

    Key(Outline, VK_DOWN);
    EXPECT_EQ(Outline->Directory(), Temp.Path() + "Alpha");
    EXPECT_EQ(Changes, 1);
    Type(Outline, "+");
    EXPECT_EQ(Below(), (std::vector<std::string>{"Alpha", " One", " Two", "beta", "Gamma"}));
    Key(Outline, VK_RIGHT); // into the first subfolder
    EXPECT_EQ(Outline->Directory(), Temp.Path() + "Alpha\\One");
    Key(Outline, VK_LEFT); // back to the parent
    Key(Outline, VK_LEFT); // collapse it
    EXPECT_EQ(Below(), (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
    Key(Outline, VK_END);
    EXPECT_EQ(Outline->SelectedRow(), Outline->RowCount() - 1);
    Key(Outline, VK_HOME);
    EXPECT_EQ(Outline->Directory(), "C:\\");
    EXPECT_EQ(Changes, 5);
}

TEST_F(DirOutline, TypeAheadTextCaseAndTheMouse)
{
    const int root = Outline->SelectedRow();
    Outline->Expand(root);
    Outline->SetFocus();
    Type(Outline, "g");
    EXPECT_EQ(Outline->Directory(), Temp.Path() + "Gamma");
    Sleep(1100); // a pause starts a new search
    Type(Outline, "be");
    EXPECT_EQ(Outline->Directory(), Temp.Path() + "beta");

    Outline->SetTextCase(tcUpperCase);
    EXPECT_EQ(Below(), (std::vector<std::string>{"ALPHA", "BETA", "GAMMA"}));
    Outline->SetTextCase(tcLowerCase);
    EXPECT_EQ(Below(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    // The directory keeps the names as stored.
    EXPECT_EQ(Outline->Directory(), Temp.Path() + "beta");

    // A click on a row selects it; a click on its box expands it.
    const int alpha = root + 1, h = Outline->RowHeight();
    const int y = (alpha - Outline->TopRow()) * h + h / 2;
    Click(Outline, Outline->RowLevel(alpha) * 16 + 40, y);
    EXPECT_EQ(Outline->Directory(), Temp.Path() + "Alpha");
    Click(Outline, Outline->RowLevel(alpha) * 16 + 8, y);
    EXPECT_TRUE(Outline->Expanded(alpha));
    EXPECT_EQ(Below().size(), 5u);
    EXPECT_EQ(Outline->Directory(), Temp.Path() + "Alpha");
}

TEST_F(DirOutline, MissingAndVanishedFoldersRaiseNoBoxAndChangeNothing)
{
    EXPECT_THROW(Outline->SetDirectory(Temp.Path() + "Nowhere"), EInvalidOperation);
    EXPECT_THROW(Outline->SetDirectory(Temp.Path() + "file.txt"), EInvalidOperation);
    EXPECT_EQ(Outline->Directory(), Root());
    EXPECT_EQ(Changes, 0);

    // A folder removed after it was listed shows no subfolders when expanded.
    Outline->SetDirectory(Temp.Path() + "Alpha\\Two");
    RemoveDirectoryA((Temp.Path() + "Alpha\\Two\\Deep").c_str());
    RemoveDirectoryA((Temp.Path() + "Alpha\\Two").c_str());
    const int rows = Outline->RowCount();
    EXPECT_NO_THROW(Outline->Expand(Outline->SelectedRow()));
    EXPECT_EQ(Outline->RowCount(), rows);

    EXPECT_THROW(Outline->RowText(-1), EListError);
    EXPECT_THROW(Outline->RowText(Outline->RowCount()), EListError);
    EXPECT_THROW(Outline->SetDrive('Q'), EInvalidOperation);
    Outline->SetDrive('z');
    EXPECT_EQ(Outline->Directory(), "Z:\\");
    EXPECT_EQ(Outline->Drive(), 'Z');

    // Lowercase paths find the folders as stored.
    Outline->SetDirectory(Temp.Path() + "ALPHA\\one");
    EXPECT_EQ(Outline->Directory(), Temp.Path() + "Alpha\\One");
}

TEST_F(DirOutline, ShortNamesFindTheFoldersUnderTheirLongNames)
{
    const std::string longName = Temp.Path() + "Long Folder Name";
    CreateDirectoryA(longName.c_str(), nullptr);
    char shortName[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameA(longName.c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(std::string(shortName), longName);

    Outline->SetDirectory(shortName);
    EXPECT_EQ(Outline->Directory(), longName);
    EXPECT_EQ(Below(), (std::vector<std::string>{"Alpha", "beta", "Gamma", "Long Folder Name"}));
}

// A double click on a folder's name opens or closes it; one on a box acts
// on that box's folder alone, never on the selected folder elsewhere.
TEST_F(DirOutline, ADoubleClickActsOnTheFolderUnderThePointer)
{
    const int root = RootRow(), alpha = root + 1, h = Outline->RowHeight();
    Outline->Expand(root);
    const int y = (alpha - Outline->TopRow()) * h + h / 2, box = Outline->RowLevel(alpha) * 16 + 8;
    auto doubleClick = [&](int X) {
        Click(Outline, X, y);
        SendMessageA(Outline->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(X, y));
        Release(Outline, X, y);
    };
    doubleClick(box);
    EXPECT_TRUE(Outline->Expanded(root));
    EXPECT_EQ(Outline->Directory(), Root());
    EXPECT_EQ(Below(), (std::vector<std::string>{"Alpha", "beta", "Gamma"}));

    doubleClick(box + 40);
    EXPECT_EQ(Outline->Directory(), Temp.Path() + "Alpha");
    EXPECT_TRUE(Outline->Expanded(alpha));
    EXPECT_EQ(Below(), (std::vector<std::string>{"Alpha", " One", " Two", "beta", "Gamma"}));
}
