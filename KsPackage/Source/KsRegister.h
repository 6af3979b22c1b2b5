// The package's palette registration for the form designer. It also makes
// the package's classes known to form files that name them without a form
// field of that class (the gallery's form); registering twice is harmless.
#pragma once

void RegisterKsPackage();
