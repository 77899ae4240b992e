#pragma once
// The program's pictures live in a resource file compiled into a static library, which Qt registers
// only when asked; every window that shows one calls this first (repeated calls are harmless).
void InitQuillexResources();
