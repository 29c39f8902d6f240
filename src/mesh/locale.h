// The decimal separator. Every number the program parses or writes uses "." itself, so
// nothing here touches a system or user locale setting.
#pragma once

namespace mw {

// Kept for the convert command, which calls it before exporting; it does nothing, since
// the text readers and writers never depend on the locale.
inline void force_decimal_point()
{
}

} // namespace mw
