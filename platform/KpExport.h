#pragma once
// What the module's shared libraries show their hosts. They are built with
// hidden visibility, so only what is marked KP_API (the classes, functions
// and objects a host programs against) is exported; the helpers behind them
// stay inside. Marking changes nothing for the static libraries.
#define KP_API __attribute__((visibility("default")))
