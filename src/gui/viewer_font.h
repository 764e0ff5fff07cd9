#pragma once
// The listing face ("Courier Dos") from the font file "Vantu.TTF" beside the
// program, registered with the application for the viewer.

#include <QString>
#include <string>

namespace vantu {

// Registers the font file; true when Qt accepted it. A second call first
// drops the earlier registration.
bool RegisterListingFont(const std::string& path);
// Drops the registration, if any.
void UnregisterListingFont();
// Family of the registered face, or a fixed-pitch fallback when none is.
QString ListingFontFamily();

}  // namespace vantu
