#pragma once
// The two Japanese font families the windows are designed with, mapped onto
// the IPA fonts that Debian ships.

namespace kel {

inline constexpr const char *kGothic = "ＭＳ ゴシック";      // fixed pitch
inline constexpr const char *kPGothic = "ＭＳ Ｐゴシック";   // proportional

// Registers the substitutions; call once after the application object exists.
void installFontSubstitutions();

} // namespace kel
