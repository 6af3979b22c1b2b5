#include "components/DirOutline.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

using namespace platform;

namespace components {

namespace {

const int Indent = 16;
const int BoxSize = 9;
// Keys typed within this time continue the type-ahead text.
const std::chrono::milliseconds TypeAheadPause(1000);

bool IsFolder(const std::string& Path)
{
    const DWORD attributes = GetFileAttributesA(Path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Names compare in capitals, byte by byte: a strict order for sorting,
// which the system's word sort (ignoring hyphens) is not.
std::string Upper(std::string Name)
{
    CharUpperBuffA(Name.data(), static_cast<DWORD>(Name.size()));
    return Name;
}

bool SameName(const std::string& A, const std::string& B)
{
    return Upper(A) == Upper(B);
}

// Calls Found with the name of every subfolder of Folder (a path ending in
// a backslash) until it returns false; a folder that cannot be read has none.
template <class F>
void ForEachSubfolder(const std::string& Folder, F Found)
{
    // A drive without its medium answers with an error, not a message box.
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS);
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((Folder + "*").c_str(), &data);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &data)) {
        const std::string name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != ".." && !Found(name))
            break;
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    SetErrorMode(mode);
}

} // namespace

struct TDirectoryOutline::TNode {
    std::string Name; // "C:" for the root
    std::string Key;  // the name in capitals, for sorting
    TNode* Parent = nullptr;
    std::vector<std::unique_ptr<TNode>> Children;
    bool Scanned = false;
    bool Expanded = false;
    bool Probed = false;      // looked for a first subfolder
    bool HasChildren = false; // what that look found
    int Level = 0;
};

const TClassInfo& TDirectoryOutline::StaticClassInfo()
{
    static const TClassInfo& info = TClassBuilder<TDirectoryOutline, TRowList>("TDirectoryOutline")
        .Publish({"Anchors", "Color", "Enabled", "ParentFont", "Font", "ParentShowHint", "ShowHint", "Visible",
                  "TabOrder", "TabStop", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp",
                  "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp"})
        .Str("Directory", [](const TDirectoryOutline& o) { return o.FStoredDirectory; },
             &TDirectoryOutline::SetDirectory)
        .Enum("TextCase", {"tcAsIs", "tcUpperCase", "tcLowerCase"}, &TDirectoryOutline::TextCase,
              &TDirectoryOutline::SetTextCase, tcAsIs)
        .Event("OnChange", &TDirectoryOutline::OnChange)
        .Build();
    return info;
}

TDirectoryOutline::TDirectoryOutline(TComponent* AOwner) : TRowList(AOwner)
{
    // The tree exists before anything (a resize) looks at it.
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    SetDirectory(current);
    FStoredDirectory.clear();
    SetBounds(Left(), Top(), 150, 200);
}

TDirectoryOutline::~TDirectoryOutline() = default;

std::string TDirectoryOutline::Path(const TNode* Node)
{
    std::string path;
    for (; Node; Node = Node->Parent)
        path = Node->Name + "\\" + path;
    return path;
}

std::string TDirectoryOutline::Directory() const
{
    std::string path = Path(FSelected);
    if (FSelected->Parent)
        path.pop_back();
    return path;
}

void TDirectoryOutline::SetDirectory(const std::string& Value)
{
    if (ComponentState().Contains(csLoading)) {
        FStoredDirectory = Value;
        return;
    }
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(Value.c_str(), MAX_PATH, full, nullptr);
    if (Value.empty() || length == 0 || length >= MAX_PATH || !IsFolder(full) || full[1] != ':')
        throw EInvalidOperation("Folder not found: " + Value);
    // A short name (PROGRA~1) would not match the listing's long one and
    // show the folder twice.
    char spelled[MAX_PATH];
    const DWORD longLength = GetLongPathNameA(full, spelled, MAX_PATH);
    if (longLength > 0 && longLength < MAX_PATH) {
        std::copy(spelled, spelled + longLength + 1, full);
        length = longLength;
    }
    std::string path(full, length);
    if (path.back() != '\\')
        path += '\\';

    const std::string drive = path.substr(0, 2);
    if (!FRoot || !SameName(FRoot->Name, drive)) {
        auto root = std::make_unique<TNode>();
        root->Name = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) + ":";
        FSelected = nullptr;
        FRoot = std::move(root);
    }
    TNode* node = FRoot.get();
    for (size_t start = 3, end; (end = path.find('\\', start)) != std::string::npos; start = end + 1) {
        const std::string name = path.substr(start, end - start);
        Scan(node);
        node->Expanded = true;
        auto found = std::find_if(node->Children.begin(), node->Children.end(),
                                  [&](const std::unique_ptr<TNode>& c) { return SameName(c->Name, name); });
        if (found == node->Children.end()) {
            // A folder that the listing left out (one made since) is added as named.
            auto child = std::make_unique<TNode>();
            child->Name = name;
            child->Key = Upper(name);
            child->Parent = node;
            child->Level = node->Level + 1;
            node->Children.push_back(std::move(child));
            found = node->Children.end() - 1;
        }
        node = found->get();
    }
    BuildRows();
    Select(node);
}

char TDirectoryOutline::Drive() const
{
    return FRoot->Name[0];
}

void TDirectoryOutline::SetDrive(char Value)
{
    const std::string root = std::string(1, Value) + ":\\";
    if (!IsFolder(root))
        throw EInvalidOperation("Drive not found: " + std::string(1, Value));
    if (!SameName(root.substr(0, 2), FRoot->Name))
        SetDirectory(root);
}

void TDirectoryOutline::Loaded()
{
    TRowList::Loaded();
    if (FStoredDirectory.empty())
        return;
    // A folder that is missing or that the outline cannot show (not on a
    // drive letter, too long) leaves it at the current directory; SetDirectory
    // refuses it before changing anything.
    const std::string stored = FStoredDirectory;
    try {
        SetDirectory(stored);
    } catch (const EInvalidOperation&) {
        return;
    }
    FStoredDirectory = stored;
}

void TDirectoryOutline::SetTextCase(TTextCase Value)
{
    if (Value == FTextCase)
        return;
    FTextCase = Value;
    Invalidate();
}

// One listing of the folder; its subfolders' own subfolders wait until
// their rows are shown.
void TDirectoryOutline::Scan(TNode* Node)
{
    if (Node->Scanned)
        return;
    Node->Scanned = true;
    Node->Children.clear();
    ForEachSubfolder(Path(Node), [&](const std::string& name) {
        auto child = std::make_unique<TNode>();
        child->Name = name;
        child->Key = Upper(name);
        child->Parent = Node;
        child->Level = Node->Level + 1;
        Node->Children.push_back(std::move(child));
        return true;
    });
    std::sort(Node->Children.begin(), Node->Children.end(),
              [](const std::unique_ptr<TNode>& a, const std::unique_ptr<TNode>& b) {
                  return a->Key != b->Key ? a->Key < b->Key : a->Name < b->Name;
              });
}

bool TDirectoryOutline::HasSubfolders(TNode* Node)
{
    if (Node->Scanned)
        return !Node->Children.empty();
    if (!Node->Probed) {
        Node->Probed = true;
        ForEachSubfolder(Path(Node), [&](const std::string&) { return !(Node->HasChildren = true); });
    }
    return Node->HasChildren;
}

void TDirectoryOutline::BuildRows()
{
    FRows.clear();
    std::vector<TNode*> pending{FRoot.get()};
    while (!pending.empty()) {
        TNode* node = pending.back();
        pending.pop_back();
        FRows.push_back(node);
        if (node->Expanded)
            for (auto c = node->Children.rbegin(); c != node->Children.rend(); ++c)
                pending.push_back(c->get());
    }
    RowsChanged();
}

TDirectoryOutline::TNode* TDirectoryOutline::RowNode(int Row) const
{
    if (Row < 0 || Row >= RowCount())
        throw EListError(Format("Row index out of bounds (%d)", Row));
    return FRows[static_cast<size_t>(Row)];
}

std::string TDirectoryOutline::ShownName(const TNode* Node) const
{
    std::string name = Node->Parent ? Node->Name : Node->Name + "\\";
    if (FTextCase == tcUpperCase)
        CharUpperBuffA(name.data(), static_cast<DWORD>(name.size()));
    else if (FTextCase == tcLowerCase)
        CharLowerBuffA(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

std::string TDirectoryOutline::RowText(int Row) const
{
    return ShownName(RowNode(Row));
}

int TDirectoryOutline::RowLevel(int Row) const
{
    return RowNode(Row)->Level;
}

bool TDirectoryOutline::Expanded(int Row) const
{
    return RowNode(Row)->Expanded;
}

int TDirectoryOutline::SelectedRow() const
{
    return static_cast<int>(std::find(FRows.begin(), FRows.end(), FSelected) - FRows.begin());
}

void TDirectoryOutline::Expand(int Row)
{
    SetExpanded(RowNode(Row), true);
}

void TDirectoryOutline::Collapse(int Row)
{
    SetExpanded(RowNode(Row), false);
}

// Expanding lists the folder (once; collapsing and expanding again lists it
// afresh). Collapsing a folder that holds the selection selects the folder.
void TDirectoryOutline::SetExpanded(TNode* Node, bool Value)
{
    if (Value == Node->Expanded)
        return;
    if (Value) {
        Node->Scanned = false;
        Scan(Node);
    }
    Node->Expanded = Value;
    if (!Value)
        for (TNode* n = FSelected->Parent; n; n = n->Parent)
            if (n == Node) {
                BuildRows();
                Select(Node);
                return;
            }
    BuildRows();
    ScrollIntoView(SelectedRow());
}

void TDirectoryOutline::Select(TNode* Node)
{
    const bool changed = Node != FSelected;
    FSelected = Node;
    FStoredDirectory = Directory();
    ScrollIntoView(SelectedRow());
    Invalidate();
    if (changed)
        Change();
}

void TDirectoryOutline::SelectRow(int Row)
{
    Select(RowNode(std::clamp(Row, 0, RowCount() - 1)));
}

void TDirectoryOutline::Change()
{
    if (OnChange && !ComponentState().Contains(csLoading))
        OnChange(this);
}

void TDirectoryOutline::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (TabStop() && CanFocus())
        SetFocus();
    const int row = RowAt(Y);
    if (Button == mbLeft && row >= 0) {
        TNode* node = FRows[static_cast<size_t>(row)];
        const int box = node->Level * Indent + 3;
        if (X >= box && X < box + BoxSize + 2 && HasSubfolders(node)) {
            SetExpanded(node, !node->Expanded);
        } else {
            Select(node);
            // The second press of a double click on a name opens or closes
            // that folder (a box's second press is a click of its own).
            if (Shift.Contains(ssDouble) && HasSubfolders(node))
                SetExpanded(node, !node->Expanded);
        }
    }
    TRowList::MouseDown(Button, Shift, X, Y);
}

void TDirectoryOutline::KeyDown(WORD& Key, TShiftState Shift)
{
    TRowList::KeyDown(Key, Shift);
    if (const int row = RowForKey(Key, SelectedRow()); row >= 0) {
        SelectRow(row);
        Key = 0;
        return;
    }
    switch (Key) {
    case VK_LEFT:
        if (FSelected->Expanded)
            SetExpanded(FSelected, false);
        else if (FSelected->Parent)
            Select(FSelected->Parent);
        break;
    case VK_RIGHT:
        if (!FSelected->Expanded && HasSubfolders(FSelected))
            SetExpanded(FSelected, true);
        else if (FSelected->Expanded && !FSelected->Children.empty())
            Select(FSelected->Children.front().get());
        break;
    case VK_ADD: SetExpanded(FSelected, true); break;
    case VK_SUBTRACT: SetExpanded(FSelected, false); break;
    case VK_RETURN: SetExpanded(FSelected, !FSelected->Expanded); break;
    default: return;
    }
    Key = 0;
}

// Typed letters select the next shown folder whose name starts with them;
// after a pause the next letter starts a new search. + and - expand and collapse.
void TDirectoryOutline::KeyPress(char& Key)
{
    TRowList::KeyPress(Key);
    if (Key == '+' || Key == '-') {
        SetExpanded(FSelected, Key == '+');
        Key = 0;
        return;
    }
    if (static_cast<unsigned char>(Key) < ' ')
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - FLastKey > TypeAheadPause)
        FSearch.clear();
    FLastKey = now;
    FSearch += Key;
    // A first letter looks past the selection, so that repeating it steps through the matches.
    const int count = RowCount(), start = SelectedRow() + (FSearch.size() == 1 ? 1 : 0);
    for (int i = 0; i < count; ++i) {
        TNode* node = FRows[static_cast<size_t>((start + i) % count)];
        if (node->Name.size() >= FSearch.size() && SameName(node->Name.substr(0, FSearch.size()), FSearch)) {
            Select(node);
            break;
        }
    }
    Key = 0;
}

void TDirectoryOutline::DoEnter()
{
    Invalidate();
    TRowList::DoEnter();
}

void TDirectoryOutline::DoExit()
{
    Invalidate();
    TRowList::DoExit();
}

void TDirectoryOutline::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    }
    TRowList::Dispatch(Message);
}

void TDirectoryOutline::PaintRow(int Row, const TRect& Bounds)
{
    TCanvas* canvas = Canvas();
    TNode* node = FRows[static_cast<size_t>(Row)];
    const int height = Bounds.bottom - Bounds.top, y = Bounds.top, x = node->Level * Indent;
    canvas->Pen()->SetColor(EffectivelyEnabled() ? clWindowText : clGrayText);
    if (HasSubfolders(node)) {
        const int bx = x + 4, by = y + (height - BoxSize) / 2;
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FrameRect(Rect(bx, by, bx + BoxSize, by + BoxSize));
        canvas->MoveTo(bx + 2, by + BoxSize / 2);
        canvas->LineTo(bx + BoxSize - 2, by + BoxSize / 2);
        if (!node->Expanded) {
            canvas->MoveTo(bx + BoxSize / 2, by + 2);
            canvas->LineTo(bx + BoxSize / 2, by + BoxSize - 2);
        }
    }
    const std::string text = ShownName(node);
    const SIZE size = canvas->TextExtent(text);
    const TRect label = Rect(x + 18, y, x + 18 + size.cx + 4, y + height);
    const bool selected = node == FSelected;
    canvas->Brush()->SetColor(selected ? (Focused() ? clHighlight : clBtnFace) : Color());
    canvas->Font()->SetColor(!EffectivelyEnabled() ? clGrayText : selected && Focused() ? clHighlightText : Font()->Color());
    canvas->TextRect(label, label.left + 2, y + (height - size.cy) / 2, text);
    if (selected && Focused())
        DrawFocusRect(canvas->Handle(), &label);
}

} // namespace components
