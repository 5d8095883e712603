// Found instead of the system's windows.h by the targets that must not name a toolkit (core/,
// window/): their code runs unchanged on every backend.
#error "This folder names no toolkit: windows.h is for base, forms/win32, cli and app."
