#pragma once

namespace rek {

// Registers the artwork compiled into the static rek_resources library. A static library's
// resources are only linked in when something refers to them, so every program that uses the
// artwork calls this once after creating its QGuiApplication (calling it again is harmless).
void initResources();

}  // namespace rek
