#pragma once

namespace rek {

// Caption of every message box and the prefix of the window title.
inline const char* const kAppTitle = "レクツール Ver.1.41";
inline const char* const kAppName = "レクツール";

}  // namespace rek
