// The sample component set on its palette page.
#pragma once

namespace components {

// The page of the form designer's palette that holds the sample components.
inline constexpr char SamplesPage[] = "Samples";

// Registers the seven sample components on SamplesPage, so that form files
// may name them; running it again changes nothing.
void RegisterSamples();

} // namespace components
