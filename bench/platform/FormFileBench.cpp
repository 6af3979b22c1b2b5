// Times reading a form file whose binary data is a 553 x 366 24-bit
// background (about 600 KB, 1.2 million hex digits), against one plain pass
// over the same text. The figure is the median of several batches of at least
// a quarter second.
#include "bench/support/Timing.h"
#include "platform/ClassBuilder.h"
#include "platform/FormFile.h"

#include <algorithm>
#include <cstdio>

using namespace platform;
using bench::SecondsPerCall;

namespace {

class THolder : public TComponent {
    PLATFORM_CLASS(THolder, TComponent)
public:
    using TComponent::TComponent;
    std::vector<uint8_t> Data;
};

const TClassInfo& THolder::StaticClassInfo()
{
    static const TClassInfo& info =
        TClassBuilder<THolder, TComponent>("THolder").Binary("Data", &THolder::Data, &THolder::Data).Build();
    return info;
}

} // namespace

int main()
{
    auto* holder = new THolder(nullptr);
    holder->Data.resize(size_t(553) * 366 * 3 + 54 + 4);
    for (size_t i = 0; i < holder->Data.size(); ++i)
        holder->Data[i] = static_cast<uint8_t>(i * 131 + 7);
    const std::string text = WriteComponentText(holder);

    const double read = SecondsPerCall([&] {
        auto* copy = new THolder(nullptr);
        ReadComponentText(copy, text);
        copy->Free();
    });
    volatile unsigned sink = 0;
    const double floor = SecondsPerCall([&] {
        unsigned sum = 0;
        for (char c : text)
            sum += static_cast<unsigned char>(c);
        sink = sink + sum;
    });
    std::printf("%-44s %15s %15s %11s\n", "", "per read", "floor", "ratio");
    std::printf("%-44s %12.2f ms %12.2f ms %10.1fx\n", "Form with 553x366 24-bit data (floor: one pass)", read * 1e3,
                floor * 1e3, read / floor);
    std::printf("\n");
    bench::Goal("form file read vs one pass", read / floor, 10);
    holder->Free();
    return 0;
}
