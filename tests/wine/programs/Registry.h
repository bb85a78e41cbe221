// The registry helpers live in support/Registry.h; this name stays for the benchmark's driver,
// which includes it, until that driver moves out of the tests.
#pragma once
#include "support/Registry.h"
