// Draws the suite's skin: the message dialog's background, the four
// pictures of its text buttons and the two of a button that stands for the
// chosen group or page (held, and held with the focus), as 24-bit bitmap
// files. It runs on the build machine (it is plain C++, no Windows), so
// every picture the suite shows comes from here and nowhere else.
//
//   MakeSkin <folder>             writes popup_bg_s.bmp and button_{n,d,o,un,s,so}.bmp
//   MakeSkin --form-data <state>  prints the hex block of one button picture
//                                 (n, d, o or un) as a form file stores it
//
// The look: a light card with a dark slate outline and a blue accent, which
// stands out on dark desktops by its body and on light ones by its outline.
// Outside the card's rounded corners the background is the key colour
// magenta, which the dialog cuts away; edges blend only towards the inside,
// so no pixel near the key colour is left at the outline.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

Rgb Mix(Rgb a, Rgb b, double t)
{
    auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

struct Picture {
    int width, height;
    std::vector<Rgb> pixels;
    Picture(int w, int h, Rgb fill) : width(w), height(h), pixels(static_cast<size_t>(w * h), fill) {}
    Rgb& At(int x, int y) { return pixels[static_cast<size_t>(y * width + x)]; }
};

// A rounded rectangle in pixel coordinates (right and bottom exclusive).
struct Rounded {
    double left, top, right, bottom, radius;

    bool Inside(double x, double y) const
    {
        if (x < left || x >= right || y < top || y >= bottom)
            return false;
        const double cx = std::clamp(x, left + radius, right - radius);
        const double cy = std::clamp(y, top + radius, bottom - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    }
    // The share of pixel (x, y) the shape covers, from 4 x 4 samples.
    double Coverage(int x, int y) const
    {
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy)
            for (int sx = 0; sx < 4; ++sx)
                hits += Inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
        return hits / 16.0;
    }
    Rounded Inset(double d) const { return {left + d, top + d, right - d, bottom - d, std::max(0.0, radius - d)}; }
};

using Paint = std::function<Rgb(int x, int y)>;

// An outlined, filled card: pixels mostly outside the outer shape keep their
// colour (a hard outer edge), the outline blends into the fill on its inside.
void Card(Picture& p, const Rounded& outer, Rgb outline, const Paint& fill)
{
    const Rounded inner = outer.Inset(1);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            if (outer.Coverage(x, y) < 0.5)
                continue;
            p.At(x, y) = Mix(outline, fill(x, y), inner.Coverage(x, y));
        }
}

// Fills the part of a shape that lies inside Clip, blending its edge.
void Fill(Picture& p, const Rounded& shape, const Rounded& clip, Rgb colour)
{
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const double c = std::min(shape.Coverage(x, y), clip.Coverage(x, y));
            if (c > 0)
                p.At(x, y) = Mix(p.At(x, y), colour, c);
        }
}

Paint Vertical(Rgb top, Rgb bottom, int height)
{
    return [=](int, int y) { return Mix(top, bottom, height > 1 ? y / double(height - 1) : 0); };
}

const Rgb Key{255, 0, 255};
const Rgb Slate{55, 65, 81};
const Rgb Accent{47, 111, 237};
const Rgb Body{250, 251, 252};
// The button tray: also the colour of the buttons' corners, so the buttons
// look rounded where they stand.
const Rgb Tray{237, 240, 244};
const Rgb Separator{218, 223, 230};
// The buttons' transparent colour (stored with the dialog): kept out of the
// pictures so that switching transparency on would cut nothing.
const Rgb ButtonKey{224, 226, 228};

constexpr int DialogWidth = 270, DialogHeight = 160, TrayTop = 100;
constexpr int ButtonWidth = 97, ButtonHeight = 23;

Picture Background()
{
    Picture p(DialogWidth, DialogHeight, Key);
    const Rounded outline{0, 0, DialogWidth, DialogHeight, 10};
    Card(p, outline, Slate, [](int, int y) {
        if (y == TrayTop)
            return Separator;
        return y > TrayTop ? Tray : Body;
    });
    const Rounded inside = outline.Inset(1);
    // The accent along the top edge.
    Fill(p, {0, 0, DialogWidth, 5, 0}, inside, Accent);
    // The suite's mark: four tiles, one of them in the accent colour.
    const Rgb tiles[4] = {Accent, {147, 179, 244}, {147, 179, 244}, {198, 214, 249}};
    for (int i = 0; i < 4; ++i) {
        const double x = 20 + (i % 2) * 8, y = 20 + (i / 2) * 8;
        Fill(p, {x, y, x + 7, y + 7, 1.5}, inside, tiles[i]);
    }
    return p;
}

Picture Button(const std::string& State)
{
    Picture p(ButtonWidth, ButtonHeight, Tray);
    const Rounded shape{0, 0, ButtonWidth, ButtonHeight, 4};
    if (State == "n")
        Card(p, shape, {156, 163, 175}, Vertical({255, 255, 255}, {241, 243, 246}, ButtonHeight));
    else if (State == "d")
        Card(p, shape, {107, 114, 128}, Vertical({214, 219, 226}, {232, 235, 239}, ButtonHeight));
    else if (State == "o")
        Card(p, shape, Accent, Vertical({241, 246, 255}, {219, 232, 255}, ButtonHeight));
    else if (State == "s" || State == "so") {
        // Chosen: the accent itself, far stronger than the pale blue of the
        // pointer; with the focus a light ring inside it as well.
        Card(p, shape, {29, 78, 176}, Vertical({66, 128, 245}, {40, 100, 220}, ButtonHeight));
        if (State == "so") {
            const Rounded ring = shape.Inset(2);
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x)
                    if (ring.Coverage(x, y) > 0 && ring.Inset(1).Coverage(x, y) < 1)
                        p.At(x, y) = Mix(p.At(x, y), {255, 255, 255}, ring.Coverage(x, y) - ring.Inset(1).Coverage(x, y));
        }
    } else
        Card(p, shape, {209, 213, 219}, [](int, int) { return Rgb{243, 244, 246}; });
    for (Rgb& c : p.pixels)
        if (c == ButtonKey)
            c.b += 1;
    return p;
}

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A bottom-up 24-bit bitmap file.
std::vector<uint8_t> BitmapFile(Picture& p)
{
    const uint32_t stride = (static_cast<uint32_t>(p.width) * 3 + 3) & ~3u;
    const uint32_t imageSize = stride * static_cast<uint32_t>(p.height);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put(out, 54 + imageSize, 4);
    Put(out, 0, 4);
    Put(out, 54, 4);
    Put(out, 40, 4);
    Put(out, static_cast<uint32_t>(p.width), 4);
    Put(out, static_cast<uint32_t>(p.height), 4);
    Put(out, 1, 2);
    Put(out, 24, 2);
    Put(out, 0, 4);
    Put(out, imageSize, 4);
    Put(out, 2835, 4);
    Put(out, 2835, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    for (int y = p.height - 1; y >= 0; --y) {
        const size_t rowStart = out.size();
        for (int x = 0; x < p.width; ++x) {
            const Rgb c = p.At(x, y);
            out.push_back(static_cast<uint8_t>(c.b));
            out.push_back(static_cast<uint8_t>(c.g));
            out.push_back(static_cast<uint8_t>(c.r));
        }
        out.resize(rowStart + stride, 0);
    }
    return out;
}

bool Write(const std::string& Path, const std::vector<uint8_t>& Bytes)
{
    std::ofstream file(Path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    return static_cast<bool>(file);
}

// A form file's binary block: the byte count, then the bitmap file, 32 bytes
// a line, closed by a brace on the last line.
void PrintFormData(std::vector<uint8_t> File, const std::string& Indent)
{
    std::vector<uint8_t> bytes;
    Put(bytes, static_cast<uint32_t>(File.size()), 4);
    bytes.insert(bytes.end(), File.begin(), File.end());
    for (size_t at = 0; at < bytes.size(); at += 32) {
        std::printf("%s", Indent.c_str());
        for (size_t i = at; i < bytes.size() && i < at + 32; ++i)
            std::printf("%02X", bytes[i]);
        std::printf(at + 32 >= bytes.size() ? "}\r\n" : "\r\n");
    }
}

const char* const States[] = {"n", "d", "o", "un"};

} // namespace

int main(int argc, char** argv)
{
    const bool formData = argc == 3 && std::strcmp(argv[1], "--form-data") == 0 &&
                          std::any_of(std::begin(States), std::end(States),
                                      [&](const char* s) { return std::strcmp(s, argv[2]) == 0; });
    if (formData) {
        Picture button = Button(argv[2]);
        PrintFormData(BitmapFile(button), "      ");
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: MakeSkin <folder> | MakeSkin --form-data <n|d|o|un>\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    Picture background = Background();
    bool ok = Write(folder + "popup_bg_s.bmp", BitmapFile(background));
    for (const char* state : {"n", "d", "o", "un", "s", "so"}) {
        Picture button = Button(state);
        ok = Write(folder + "button_" + state + ".bmp", BitmapFile(button)) && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "MakeSkin: cannot write the skin files to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
